#pragma once
// A private CUPS scheduler for one test program: its configuration, spool, cache, state and
// logs in a temporary folder, listening on a free loopback port, with a PDF queue on the
// cups-pdf driver and a file queue that writes the documents it receives, unchanged, into a
// file of the folder.
// start() sets CUPS_SERVER, so it must run before Qt's print support first asks for printers.
#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <memory>

class QProcess;

namespace testsupport {

class CupsScheduler {
public:
    static constexpr const char *PdfQueue = "alfa-pdf";
    static constexpr const char *FileQueue = "Beta-file";

    CupsScheduler();
    ~CupsScheduler();  // stops the scheduler by its process id

    // Starts the scheduler and adds the queues (the file one the default). False with why()
    // when this machine cannot run one.
    bool start();
    bool running() const { return FRunning; }
    const QString &why() const { return FWhy; }
    QString server() const;        // "127.0.0.1:PORT"
    QString fileOutput() const;    // the file the file queue writes
    // Waits (bounded) until the file queue's file holds a document that has stopped growing
    // (and holds at least minBytes); returns its bytes.
    QByteArray waitForOutput(qsizetype minBytes = 1, int timeoutMs = 30000) const;
    QString dir() const { return FDir.path(); }

    // A job the file queue was given, with the options it came with and its document as
    // the scheduler keeps it.
    struct Job {
        int id = 0;
        QString name;
        QString media, source, sides;  // empty when the job has none
        int copies = 1;
        QByteArray document;
    };
    // The file queue's jobs, oldest first, after the one with id afterId.
    QList<Job> jobs(int afterId = 0) const;

    void stop();

private:
    bool run(const QString &program, const QStringList &args, QString *out = nullptr) const;

    QTemporaryDir FDir;
    std::unique_ptr<QProcess> FProcess;
    int FPort = 0;
    bool FRunning = false;
    QString FWhy;
};

// One scheduler per test program: started before the first test and stopped after the last
// (a test environment of the program that links this file).
CupsScheduler &cupsScheduler();

} // namespace testsupport

// Skips the test when no scheduler could be started, but fails it under CI, whose set-up
// installs what it needs.
#define REQUIRE_CUPS_SCHEDULER()                                                                   \
    do {                                                                                           \
        auto &sched__ = ::testsupport::cupsScheduler();                                            \
        if (!sched__.running()) {                                                                  \
            if (!qEnvironmentVariableIsEmpty("CI"))                                                \
                FAIL() << "no CUPS scheduler: " << sched__.why().toStdString();                    \
            GTEST_SKIP() << "no CUPS scheduler on this machine: " << sched__.why().toStdString();  \
        }                                                                                          \
    } while (0)
