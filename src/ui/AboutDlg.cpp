// The about dialog.
#include "ui/AboutDlg.h"

#include "app/AppInfo.h"
#include "app/ConfigFile.h"
#include "app/Folders.h"
#include "app/Language.h"
#include "app/StringIds.h"
#include "app/StringTable.h"
#include "app/Trace.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
// The languages offered: their codes and their names, each written in its own language.
struct Language {
    const char* code;
    const char* name;
};
constexpr Language kLanguages[] = {{"en", "English"}, {"de", "Deutsch"}};
} // namespace

CAboutDlg::CAboutDlg(QWidget* parent, bool beamRunning) : QDialog(parent) {
    setWindowTitle(LoadString(IDS_ABOUT_TITLE));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* version = new QLabel(ProgramName() + QLatin1Char(' ') + ProgramVersion(), this);
    QFont bold = version->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.3);
    version->setFont(bold);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(LoadString(IDS_DLG_OK), QDialogButtonBox::AcceptRole);
    buttons->addButton(LoadString(IDS_DLG_CANCEL), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(version);
    const ConfigFile& config = GetConfig();
    if (!config.IsLanguageFromCommandLine() && !beamRunning)
        layout->addWidget(MakeLanguages());
    layout->addWidget(MakeRingtoneSettings());
    layout->addWidget(MakeKeyHelp());
    layout->addWidget(MakeFolders());
    layout->addWidget(buttons);
}

QWidget* CAboutDlg::MakeLanguages() {
    auto* box = new QGroupBox(LoadString(IDS_ABOUT_LANGUAGE), this);
    auto* row = new QHBoxLayout(box);
    m_languages = new QButtonGroup(box);
    const QString current = GetCurrentLanguage();
    for (const Language& language : kLanguages) {
        const QString code = QString::fromLatin1(language.code);
        auto* button = new QRadioButton(QString::fromUtf8(language.name), box);
        button->setObjectName(code);
        button->setEnabled(TraFileExists(code));
        button->setChecked(code == current);
        m_languages->addButton(button);
        row->addWidget(button);
    }
    row->addStretch();
    return box;
}

QWidget* CAboutDlg::MakeRingtoneSettings() {
    const ConfigFile& config = GetConfig();
    auto* box = new QGroupBox(LoadString(IDS_ABOUT_RINGTONE), this);
    auto* form = new QFormLayout(box);
    const auto decibels = [box](double low, double high, double value) {
        auto* spin = new QDoubleSpinBox(box);
        spin->setRange(low, high);
        spin->setDecimals(1);
        spin->setSingleStep(0.5);
        spin->setValue(value);
        return spin;
    };
    m_loudness = new QCheckBox(LoadString(IDS_ABOUT_LOUDNESS), box);
    m_loudness->setChecked(config.GetLoudnessNormalization());
    m_target = decibels(ConfigFile::kMinTargetLoudness, ConfigFile::kMaxTargetLoudness,
                        config.GetTargetLoudness());
    m_ceiling = decibels(ConfigFile::kMinTruePeakCeiling, ConfigFile::kMaxTruePeakCeiling,
                         config.GetTruePeakCeiling());
    m_suggest = new QCheckBox(LoadString(IDS_ABOUT_SUGGEST), box);
    m_suggest->setChecked(config.GetSuggestOnOpen());
    form->addRow(m_loudness);
    form->addRow(LoadString(IDS_ABOUT_TARGET), m_target);
    form->addRow(LoadString(IDS_ABOUT_CEILING), m_ceiling);
    form->addRow(m_suggest);
    return box;
}

QWidget* CAboutDlg::MakeKeyHelp() {
    auto* box = new QGroupBox(LoadString(IDS_ABOUT_KEYS), this);
    auto* form = new QFormLayout(box);
    const auto addLine = [box, form](int id) {
        const QString line = LoadString(id);
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        auto* keys = new QLabel(line.left(tab), box);
        QFont bold = keys->font();
        bold.setBold(true);
        keys->setFont(bold);
        form->addRow(keys, new QLabel(line.mid(tab + 1), box));
    };
    for (int id = IDS_ABOUT_KEY_FIRST; id <= IDS_ABOUT_KEY_LAST; ++id) {
        addLine(id);
        if (id == IDS_ABOUT_KEY_LOOP)
            addLine(IDS_ABOUT_KEY_S);
    }
    return box;
}

QWidget* CAboutDlg::MakeFolders() {
    auto* panel = new QWidget(this);
    auto* form = new QFormLayout(panel);
    form->setContentsMargins(0, 0, 0, 0);
    auto field = [panel](const QString& text) {
        auto* edit = new QLineEdit(text, panel);
        edit->setReadOnly(true);
        edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(text) + 16);
        edit->setCursorPosition(0);
        return edit;
    };
    m_settingsFolder = field(GetConfig().GetConfigFolder());
    m_traceFolder = field(TraceFolder());
    form->addRow(LoadString(IDS_ABOUT_SETTINGS), m_settingsFolder);
    form->addRow(LoadString(IDS_ABOUT_TRACE), m_traceFolder);
    return panel;
}

QString CAboutDlg::TraceFolder() {
    const QString file = TraceCurrentFileName();
    if (file.isEmpty())
        return GetConfig().GetConfigFolder();
    return WithTrailingSlash(QFileInfo(file).absolutePath());
}

QString CAboutDlg::chosenLanguage() const {
    const QAbstractButton* pressed = m_languages ? m_languages->checkedButton() : nullptr;
    return pressed ? pressed->objectName() : GetCurrentLanguage();
}

QAbstractButton* CAboutDlg::languageButton(const QString& lang) const {
    return m_languages ? findChild<QAbstractButton*>(lang) : nullptr;
}

QString CAboutDlg::settingsFolderText() const {
    return m_settingsFolder->text();
}

QString CAboutDlg::traceFolderText() const {
    return m_traceFolder->text();
}

void CAboutDlg::accept() {
    ConfigFile& config = GetConfig();
    config.SetLoudnessNormalization(m_loudness->isChecked());
    config.SetTargetLoudness(m_target->value());
    config.SetTruePeakCeiling(m_ceiling->value());
    config.SetSuggestOnOpen(m_suggest->isChecked());
    const QString chosen = chosenLanguage();
    const QString current = GetCurrentLanguage();
    if (chosen != current) {
        Trace(TRACE_INFO, "switching language from %s to %s", current, chosen);
        SwitchLanguage(chosen);
        Q_EMIT languageChanged(chosen);
    }
    QDialog::accept();
}
