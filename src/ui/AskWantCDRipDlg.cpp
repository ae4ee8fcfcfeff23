// The warning before a CD track is extracted.
#include "ui/AskWantCDRipDlg.h"

#include "app/AppInfo.h"
#include "app/ConfigFile.h"
#include "app/StringIds.h"
#include "app/StringTable.h"
#include "audio/CdRipper.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

CAskWantCDRipDlg::CAskWantCDRipDlg(QWidget* parent)
    : QDialog(parent), m_askAgain(new QCheckBox(LoadString(IDS_ASK_CD_RIP_AGAIN), this)) {
    setWindowTitle(ProgramName());
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* icon = new QLabel(this);
    const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(size, size));
    auto* text = new QLabel(LoadString(IDS_ASK_WANT_CD_RIP), this);
    text->setWordWrap(true);
    text->setMinimumWidth(320);
    m_askAgain->setChecked(GetConfig().GetAskWantCDRip());

    auto* buttons = new QDialogButtonBox(this);
    m_yes = buttons->addButton(LoadString(IDS_DLG_YES), QDialogButtonBox::YesRole);
    m_no = buttons->addButton(LoadString(IDS_DLG_NO), QDialogButtonBox::NoRole);
    connect(m_yes, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_no, &QPushButton::clicked, this, &QDialog::reject);
    m_no->setDefault(true);

    auto* message = new QHBoxLayout;
    message->addWidget(icon, 0, Qt::AlignTop);
    message->addWidget(text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(message);
    layout->addWidget(m_askAgain);
    layout->addWidget(buttons);
}

void CAskWantCDRipDlg::done(int result) {
    GetConfig().SetAskWantCDRip(m_askAgain->isChecked());
    QDialog::done(result);
}

bool AskWantCdRip(QWidget* parent) {
    if (CCdRipper::askWantCdRip() || !GetConfig().GetAskWantCDRip())
        return true;
    CAskWantCDRipDlg dialog(parent);
    return dialog.exec() == QDialog::Accepted;
}
