#pragma once
// The real program in a private world: its home, settings, runtime and temporary folders
// under env/, its input and output root under work/. Tests that run the built `brevant`
// start it here with QProcess and look at its exit status, its two streams and its files.

#include "support/fault_helpers.h"
#include "support/file_helpers.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>

namespace brevant::test {

struct ProgramResult {
    bool finished = false;
    long peakKb = 0; // as last seen while it ran
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// The peak resident size of a running process in kilobytes, 0 once it is gone.
inline long PeakKb(qint64 pid)
{
    QFile status(QStringLiteral("/proc/") + QString::number(pid) + QStringLiteral("/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

class ProgramSandbox {
public:
    ProgramSandbox()
    {
        for (const char* sub : {"env/home", "env/config", "env/runtime", "env/cache", "work"})
            QDir().mkpath(base_.filePath(QLatin1String(sub)));
        QFile::setPermissions(Env(QStringLiteral("runtime")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        env_ = QProcessEnvironment::systemEnvironment();
        env_.insert(QStringLiteral("HOME"), Env(QStringLiteral("home")));
        env_.insert(QStringLiteral("XDG_CONFIG_HOME"), Env(QStringLiteral("config")));
        env_.insert(QStringLiteral("XDG_RUNTIME_DIR"), Env(QStringLiteral("runtime")));
        env_.insert(QStringLiteral("XDG_CACHE_HOME"), Env(QStringLiteral("cache")));
        env_.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    }

    QString Work() const { return base_.filePath(QStringLiteral("work")); }
    QString Out() const { return Work() + QStringLiteral("/out"); }
    // The folder that holds this sandbox: a name that climbs three levels from the
    // output root lands here.
    QString Outside() const { return QFileInfo(base_.path()).absolutePath(); }
    QString Base() const { return base_.path(); }
    QProcessEnvironment& Environment() { return env_; }

    QString Input(const QByteArray& csv)
    {
        const QString path = Work() + QStringLiteral("/in.csv");
        WriteAll(path, csv);
        return path;
    }

    // Runs the program with the arguments in the work folder.
    ProgramResult Run(const QStringList& arguments, int timeoutMs = 60000)
    {
        before_ = Snapshot(Work());
        QProcess process;
        process.setProcessEnvironment(env_);
        process.setWorkingDirectory(Work());
        process.start(QStringLiteral(BREVANT_BINARY), arguments);
        ProgramResult r;
        if (!process.waitForStarted())
            return r;
        process.closeWriteChannel();
        QElapsedTimer timer;
        timer.start();
        while (!r.finished && timer.elapsed() < timeoutMs) {
            r.peakKb = std::max(r.peakKb, PeakKb(process.processId()));
            r.finished = process.waitForFinished(10);
        }
        if (!r.finished) {
            process.kill();
            process.waitForFinished();
        }
        r.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        r.out = process.readAllStandardOutput();
        r.err = process.readAllStandardError();
        return r;
    }

    // A batch into Out() as BMP of 48 x 24 pixels, writing into existing folders.
    ProgramResult Batch(const QString& input, const QString& mode, int timeoutMs = 60000,
                        const QStringList& extra = {})
    {
        return Run(QStringList{QStringLiteral("batch"), input, QStringLiteral("--mode"), mode,
                               QStringLiteral("--out"), Out(), QStringLiteral("--format"),
                               QStringLiteral("bmp"), QStringLiteral("--size"),
                               QStringLiteral("48x24"), QStringLiteral("--overwrite")} +
                       extra,
                   timeoutMs);
    }

    // Entries that the last run added or changed outside the output root.
    QStringList Escaped() const
    {
        QStringList escaped;
        const auto after = Snapshot(Work());
        for (auto it = after.begin(); it != after.end(); ++it)
            if (!it.key().startsWith(QStringLiteral("out/")) && it.key() != QStringLiteral("out") &&
                before_.value(it.key()) != it.value())
                escaped.append(it.key());
        for (const QString& top : QDir(base_.path()).entryList(QDir::AllEntries | QDir::Hidden |
                                                             QDir::NoDotAndDotDot))
            if (top != QStringLiteral("env") && top != QStringLiteral("work"))
                escaped.append(QStringLiteral("../") + top);
        return escaped;
    }

    QStringList OutFiles() const
    {
        QStringList files = QDir(Out()).entryList(QDir::Files | QDir::Hidden);
        files.sort();
        return files;
    }

private:
    QString Env(const QString& sub) const { return base_.filePath(QStringLiteral("env/") + sub); }

    QTemporaryDir base_;
    QProcessEnvironment env_;
    QMap<QString, QByteArray> before_;
};

} // namespace brevant::test
