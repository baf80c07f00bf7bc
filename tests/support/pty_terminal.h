#pragma once
// A handheld terminal on the far side of a pseudo-terminal pair: the program
// opens the slave side (through a COM1/COM2 link in its folder), the test
// writes the terminal's bytes into the master side and reads the answers.
#include <QByteArray>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QString>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

class PtyTerminal {
public:
    PtyTerminal()
    {
        if (openpty(&master_, &slave_, nullptr, nullptr, nullptr) != 0) return;
        termios t{};
        tcgetattr(slave_, &t);
        cfmakeraw(&t);
        tcsetattr(slave_, TCSANOW, &t);
        fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
        path_ = QString::fromLocal8Bit(ttyname(slave_));
    }
    ~PtyTerminal()
    {
        // The slave stays open until the end, so the master never reads a hang-up.
        if (master_ >= 0) ::close(master_);
        if (slave_ >= 0) ::close(slave_);
    }
    PtyTerminal(const PtyTerminal&) = delete;
    PtyTerminal& operator=(const PtyTerminal&) = delete;

    bool ok() const { return master_ >= 0 && !path_.isEmpty(); }
    QString path() const { return path_; }

    // Makes `name` in `dir` a link to the slave side.
    bool link_as(const QString& dir, const QString& name) const
    {
        return QFile::link(path_, QDir(dir).filePath(name));
    }

    // Writes every byte, letting the program read while the pty is full.
    bool send(const QByteArray& bytes, int timeout_ms = 20000)
    {
        qsizetype done = 0;
        QDeadlineTimer deadline(timeout_ms);
        while (done < bytes.size()) {
            const ssize_t n = ::write(master_, bytes.constData() + done, size_t(bytes.size() - done));
            if (n > 0) done += n;
            else if (deadline.hasExpired()) return false;
            else QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            pull();
        }
        return true;
    }

    // Everything the program has written so far.
    const QByteArray& answers()
    {
        pull();
        return answers_;
    }
    int acks() { return int(answers().count(char(6))); }
    // Lets the program run until it has sent at least n ACKs in all.
    bool wait_acks(int n, int timeout_ms = 5000)
    {
        QDeadlineTimer deadline(timeout_ms);
        while (acks() < n && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        return acks() >= n;
    }
    // Lets the program run for a while (to see that nothing more comes).
    static void settle(int ms)
    {
        QDeadlineTimer deadline(ms);
        while (!deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }

private:
    void pull()
    {
        char buf[4096];
        for (;;) {
            const ssize_t n = ::read(master_, buf, sizeof buf);
            if (n <= 0) break;
            answers_.append(buf, n);
        }
    }
    int master_ = -1;
    int slave_ = -1;
    QString path_;
    QByteArray answers_;
};
