// Makes sure one window instance runs: a later start asks the running one to come forward.
#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>

class CSingleInstance : public QObject {
    Q_OBJECT
public:
    // The name every instance of the program shares.
    static QString DefaultName() { return QStringLiteral("skylark_instance_event"); }

    explicit CSingleInstance(const QString& name = DefaultName(), QObject* parent = nullptr);
    ~CSingleInstance() override;

    // True when this process is now the running instance. False when another instance runs:
    // it has then been asked to bring its window forward and to open file when one is given (if
    // it answers within a second). A relative file is taken from this process's folder.
    bool TryBecomeInstance(const QString& file = QString());
    bool IsInstance() const { return m_lock && m_lock->isLocked(); }

Q_SIGNALS:
    // A later start asked this instance to restore and raise its main window, and to open file
    // (an absolute path) unless it is empty.
    void activationRequested(const QString& file);

private:
    void OnNewConnection();
    void AskRunningInstanceToActivate(const QString& file);

    QString m_name;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer m_server;
};
