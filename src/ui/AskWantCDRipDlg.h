// The warning before a CD track is extracted, with its "ask again" check box.
#pragma once

#include <QDialog>

class QCheckBox;
class QPushButton;

// Yes or No, with a check box bound to the AskWantCDRip setting: either answer stores it.
class CAskWantCDRipDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAskWantCDRipDlg(QWidget* parent);

    QCheckBox* askAgainBox() const { return m_askAgain; }
    QPushButton* yesButton() const { return m_yes; }
    QPushButton* noButton() const { return m_no; }

protected:
    // Stores the check box into AskWantCDRip, then ends the dialog.
    void done(int result) override;

private:
    QCheckBox* m_askAgain;
    QPushButton* m_yes;
    QPushButton* m_no;
};

// Whether a CD track may be extracted: yes at once where extraction cannot freeze the system
// (always on Linux) or when AskWantCDRip is off; otherwise the warning's answer.
bool AskWantCdRip(QWidget* parent);
