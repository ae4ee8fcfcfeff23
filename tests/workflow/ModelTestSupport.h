// Helpers of the model tests: a private configuration folder, a recording owner, view and
// messages.
#pragma once

#include "app/ConfigFile.h"
#include "app/IUserMessages.h"
#include "support/TestProgress.h"
#include "support/TestSupport.h"
#include "support/Tone.h"
#include "workflow/IRingtoneModelOwner.h"
#include "workflow/IRingtoneView.h"

#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace modeltest {

using namespace testsupport;

// Records every message shown; errors alone as well.
class RecordingMessages : public IUserMessages {
public:
    void ShowMessage(Kind kind, const QString& text) override {
        shown.emplace_back(kind, text);
        if (kind == Kind::Error)
            errors << text;
    }
    std::vector<std::pair<Kind, QString>> shown;
    QStringList errors;
};

class TestOwner : public IRingtoneModelOwner {
public:
    void RefreshState() override { ++refreshes; }
    void RefreshInputName(const QString& name) override { names << name; }
    std::unique_ptr<IOpProgress> CreateProgress(int titleId) override {
        titles.push_back(titleId);
        return std::make_unique<CTestProgress>(cancelAtCall, cancelAtText);
    }
    IUserMessages& Messages() override { return messages; }

    RecordingMessages messages;
    QStringList names;
    std::vector<int> titles;
    int refreshes = 0;
    int cancelAtCall = -1; // handed to every progress created
    int cancelAtText = -1; // likewise
};

class TestView : public IRingtoneView {
public:
    void SetModel(CRingtoneModel* m) override { model = m; }
    void Refresh(bool reset, bool) override {
        ++refreshes;
        resets += reset ? 1 : 0;
    }
    void StopPlayback() override { ++stops; }
    void GetButtonState(ButtonState&) const override {}
    bool IsPlaying() const override { return false; }
    qint64 GetPosition() const override { return 0; }

    CRingtoneModel* model = nullptr;
    int refreshes = 0;
    int resets = 0; // refreshes telling of a new input
    int stops = 0;
};

// Gives each test an empty configuration in a private folder, restored afterwards.
class ModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_config.isValid() && m_files.isValid() && m_data.isValid());
        m_oldXdg = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", m_data.path().toUtf8());
        GetConfig().SetConfigFolder(m_config.path());
        GetConfig().Clear();
        GetConfig().SetDefaults();
    }
    void TearDown() override {
        GetConfig().Clear();
        GetConfig().SetDefaults();
        GetConfig().SetConfigFolder(QString());
        qputenv("XDG_DATA_HOME", m_oldXdg);
    }

    // A path in the configuration folder and one among the test's input files.
    QString work(const QString& name) const { return m_config.filePath(name); }
    QString file(const QString& name) const { return m_files.filePath(name); }

    QTemporaryDir m_config;
    QTemporaryDir m_files;
    QTemporaryDir m_data;
    QByteArray m_oldXdg;
};

} // namespace modeltest
