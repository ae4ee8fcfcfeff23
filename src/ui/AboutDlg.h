// The about dialog: version, the language choice, the ringtone's settings, the keys of the waveform
// view, the data folders.
#pragma once

#include <QDialog>
#include <QString>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QDoubleSpinBox;
class QLineEdit;

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    // The language buttons appear only when the language did not come from the command line and
    // no beam runs; each is enabled only when its translation file exists.
    CAboutDlg(QWidget* parent, bool beamRunning);

    // The language the pressed button stands for; the current language without the buttons.
    QString chosenLanguage() const;
    // Whether the dialog offers the language buttons.
    bool offersLanguages() const { return m_languages != nullptr; }
    // The button of a language ("en", "de"); null when there is none.
    QAbstractButton* languageButton(const QString& lang) const;
    QString settingsFolderText() const;
    QString traceFolderText() const;
    // The folder the trace log writes to: that of its current file, else the configuration folder.
    static QString TraceFolder();
    // The switches of the ringtone's settings.
    QCheckBox* loudnessBox() const { return m_loudness; }
    QDoubleSpinBox* targetBox() const { return m_target; }
    QDoubleSpinBox* ceilingBox() const { return m_ceiling; }
    QCheckBox* suggestBox() const { return m_suggest; }
    // OK: stores the ringtone's settings and switches to the chosen language when it differs from
    // the current one.
    void accept() override;

Q_SIGNALS:
    // The language was switched (configuration, translation and LastTraFile): the window loads
    // the language's skin and shows its texts again.
    void languageChanged(const QString& lang);

private:
    // The group of the language buttons, when offered.
    QWidget* MakeLanguages();
    // The ringtone's settings: loudness normalization, its target and ceiling, the suggestion.
    QWidget* MakeRingtoneSettings();
    // The keys of the waveform view, one line each: the keys and what they do.
    QWidget* MakeKeyHelp();
    // The settings and trace folders as selectable text.
    QWidget* MakeFolders();

    QButtonGroup* m_languages = nullptr;
    QLineEdit* m_settingsFolder = nullptr;
    QLineEdit* m_traceFolder = nullptr;
    QCheckBox* m_loudness = nullptr;
    QDoubleSpinBox* m_target = nullptr;
    QDoubleSpinBox* m_ceiling = nullptr;
    QCheckBox* m_suggest = nullptr;
};
