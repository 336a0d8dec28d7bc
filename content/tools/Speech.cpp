#include "Speech.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>
#include <QStringList>
#include <cerrno>
#include <cstring>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace tx::content {

namespace {

const QString kStampFile = QStringLiteral(".tx-voice-stamps");

QByteArray stampOf(const SpeechJob& job) {
    const QString key = job.voice + u'\n' + QString::number(job.rate) + u'\n' + job.text;
    return QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex();
}

// What the builder remembers of a recording it made: the stamp of its text, voice and
// rate, and the SHA-1 of the file it wrote, so that a file someone saved over it is
// recognised as theirs. An empty hash is unknown (a stamp from before hashes were kept);
// kForeign marks a file found to be someone else's.
struct Stamp {
    QByteArray text;
    QByteArray wav;
};
const QByteArray kForeign = "-";

using Stamps = QHash<QString, Stamp>; // file name -> stamp

Stamps readStamps(const QString& folder) {
    Stamps stamps;
    QFile f(folder + u'/' + kStampFile);
    if (!f.open(QIODevice::ReadOnly))
        return stamps;
    for (const QByteArray& line : f.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() >= 2 && !fields[0].isEmpty())
            stamps.insert(QString::fromUtf8(fields[0]),
                          Stamp{fields[1], fields.size() > 2 ? fields[2] : QByteArray()});
    }
    return stamps;
}

void writeStamps(const QString& folder, const Stamps& stamps) {
    QStringList names = stamps.keys();
    names.sort();
    QSaveFile f(folder + u'/' + kStampFile);
    if (!f.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot write " + f.fileName().toStdString());
    for (const QString& name : names) {
        const Stamp& s = stamps[name];
        f.write(name.toUtf8() + '\t' + s.text + '\t' + s.wav + '\n');
    }
    if (!f.commit())
        throw std::runtime_error("cannot write " + f.fileName().toStdString());
}

// Hex SHA-1 of a file, or empty when it cannot be read.
QByteArray hashOf(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash h(QCryptographicHash::Sha1);
    if (!h.addData(&f))
        return {};
    return h.result().toHex();
}

bool looksLikeWav(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = f.read(12);
    return f.size() > 44 && head.startsWith("RIFF") && head.mid(8, 4) == "WAVE";
}

pid_t spawn(const QString& espeak, const SpeechJob& job, const QString& out, QString* error) {
    std::vector<std::string> args = {
        espeak.toStdString(),     "-v", job.voice.toStdString(), "-s",
        std::to_string(job.rate), "-w", out.toStdString(),       job.text.toStdString()};
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ);
    if (rc != 0) {
        *error =
            QStringLiteral("cannot start %1: %2").arg(espeak, QString::fromUtf8(std::strerror(rc)));
        return -1;
    }
    return pid;
}

// espeak-ng reads an unknown voice with its default voice and says nothing, so a
// misspelt voice is caught here: the names it lists (language, voice name, file, other
// languages), compared without case.
QSet<QString> knownVoices(const QString& espeak) {
    QProcess p;
    p.start(espeak, {"--voices"});
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        throw std::runtime_error("cannot list the voices of " + espeak.toStdString());
    QSet<QString> names;
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    static const QRegularExpression other(QStringLiteral("\\(([^ )]+)"));
    const QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split(u'\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringList cols = lines[i].trimmed().split(blanks);
        if (cols.size() < 5)
            continue;
        names << cols[1].toLower() << cols[3].toLower() << cols[4].toLower()
              << cols[4].section(u'/', -1).toLower();
        for (const auto& m : other.globalMatch(cols.mid(5).join(u' ')))
            names << m.captured(1).toLower();
    }
    return names;
}

} // namespace

QString soundPath(const Module& module, const Item& item, const QString& programDir) {
    if (item.sound.isEmpty())
        return {};
    return QDir::cleanPath(programDir) + u'/' + QString::fromUtf8(module.info.soundFolder) + u'/' +
           item.sound;
}

QString storedSoundPath(const Module& module, const Item& item) {
    if (item.sound.isEmpty())
        return {};
    return QString::fromUtf8(module.info.soundFolder) + u'/' + item.sound;
}

QList<SpeechJob> speechJobs(const Library& library, const QString& programDir) {
    QList<SpeechJob> jobs;
    for (const Module& m : library.modules)
        for (const Item& item : m.items)
            if (!item.sound.isEmpty())
                jobs << SpeechJob{soundPath(m, item, programDir), m.voice.name, m.voice.rate,
                                  spokenText(m, item)};
    for (const QuizSound& s : library.quiz)
        jobs << SpeechJob{QDir::cleanPath(programDir) + u'/' + s.file, library.quizVoice.name,
                          library.quizVoice.rate, s.text};
    return jobs;
}

SpeechResult speak(const QList<SpeechJob>& jobs, const QString& espeak, int parallel) {
    // Make: no file yet. Replace: our own file, its text changed. Check: a file whose
    // origin is unknown, adopted only when it equals a fresh recording byte for byte.
    enum class Task { Make, Replace, Check };
    struct Todo {
        qsizetype job;
        Task task;
        QByteArray onDisk; // for Replace: the hash the file had when it was judged ours
    };
    QHash<QString, Stamps> stamps; // folder -> its stamps
    QList<Todo> todo;
    SpeechResult result;
    for (qsizetype i = 0; i < jobs.size(); ++i) {
        const QFileInfo info(jobs[i].path);
        const QString folder = info.absolutePath();
        if (!stamps.contains(folder))
            stamps.insert(folder, readStamps(folder));
        const Stamp known = stamps[folder].value(info.fileName());
        if (!info.exists()) {
            todo << Todo{i, Task::Make, {}};
            continue;
        }
        if (known.wav == kForeign) {
            ++result.left;
            continue;
        }
        const QByteArray onDisk = hashOf(info.filePath());
        if (known.wav.isEmpty())
            todo << Todo{i, Task::Check, {}};
        else if (onDisk != known.wav)
            ++result.left;
        else if (known.text != stampOf(jobs[i]))
            todo << Todo{i, Task::Replace, onDisk};
        else
            ++result.kept;
    }

    if (!todo.isEmpty()) {
        const QSet<QString> voices = knownVoices(espeak);
        for (const Todo& t : std::as_const(todo))
            if (!voices.contains(jobs[t.job].voice.section(u'+', 0, 0).toLower()))
                throw std::runtime_error("espeak-ng has no voice \"" +
                                         jobs[t.job].voice.toStdString() + "\"");
    }

    QSet<QString> changed;
    QHash<pid_t, qsizetype> running; // pid -> index in todo
    QString failure;
    auto finish = [&](const Todo& t, bool ok) {
        const SpeechJob& job = jobs[t.job];
        const QString part = job.path + ".part";
        const QFileInfo info(job.path);
        const QString folder = info.absolutePath();
        if (ok && looksLikeWav(part)) {
            const QByteArray fresh = hashOf(part);
            const QByteArray now = hashOf(job.path);
            // The file is looked at again: it may have been saved over while espeak spoke.
            if (t.task == Task::Check) {
                const bool ours = !fresh.isEmpty() && fresh == now;
                QFile::remove(part);
                stamps[folder].insert(info.fileName(),
                                      Stamp{stampOf(job), ours ? fresh : kForeign});
                ++(ours ? result.kept : result.left);
            } else if (t.task == Task::Replace && now != t.onDisk) {
                QFile::remove(part);
                ++result.left;
            } else {
                if (t.task == Task::Replace)
                    QFile::remove(job.path);
                // A rename never overwrites, so a file that appeared meanwhile is kept.
                if (!QFile::rename(part, job.path)) {
                    QFile::remove(part);
                    if (!QFileInfo::exists(job.path) && failure.isEmpty())
                        failure = QStringLiteral("cannot write %1").arg(job.path);
                    ++result.left;
                    return;
                }
                stamps[folder].insert(info.fileName(), Stamp{stampOf(job), fresh});
                ++result.made;
            }
            changed.insert(folder);
            return;
        }
        QFile::remove(part);
        if (failure.isEmpty())
            failure = QStringLiteral("espeak could not make %1 (voice %2): \"%3\"")
                          .arg(job.path, job.voice, job.text);
    };
    qsizetype next = 0;
    while ((next < todo.size() && failure.isEmpty()) || !running.isEmpty()) {
        while (failure.isEmpty() && next < todo.size() && running.size() < qMax(1, parallel)) {
            const SpeechJob& job = jobs[todo[next].job];
            QDir().mkpath(QFileInfo(job.path).absolutePath());
            const pid_t pid = spawn(espeak, job, job.path + ".part", &failure);
            if (pid > 0)
                running.insert(pid, next);
            ++next;
        }
        if (running.isEmpty())
            break;
        int status = 0;
        const pid_t pid = waitpid(-1, &status, 0);
        if (pid < 0) {
            if (errno == EINTR)
                continue;
            if (failure.isEmpty())
                failure = QStringLiteral("lost track of espeak: %1")
                              .arg(QString::fromUtf8(std::strerror(errno)));
            break;
        }
        if (auto it = running.find(pid); it != running.end()) {
            const qsizetype i = *it;
            running.erase(it);
            finish(todo[i], WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
    }
    for (const QString& folder : std::as_const(changed))
        writeStamps(folder, stamps.value(folder));
    if (!failure.isEmpty())
        throw std::runtime_error(failure.toStdString());
    return result;
}

} // namespace tx::content
