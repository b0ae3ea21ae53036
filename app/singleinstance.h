#pragma once
// One LirraCal per program folder: the first start holds a lock file there and listens on a
// local socket; a later start on the same folder asks the first one to bring its window
// forward and ends.
#include <QLockFile>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QLocalServer;

class TSingleInstance : public QObject
{
public:
    enum class TStart {
        First,         // this is the only instance on the folder (or the folder cannot be locked)
        OtherRaised,   // another instance runs and brought its window forward
        OtherRunning,  // another instance runs and did not answer
    };

    explicit TSingleInstance(const QString &appPath, QObject *parent = nullptr);
    ~TSingleInstance() override;

    TStart Start();
    // Called in the first instance when a later start asks for its window.
    std::function<void()> OnActivate;

    static const QString AlreadyRunningText;

private:
    QString ServerName() const;
    void Serve();

    QString FAppPath;
    std::unique_ptr<QLockFile> FLock;
    QLocalServer *FServer = nullptr;
};
