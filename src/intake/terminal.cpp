#include "intake/terminal.h"
#include "data/clock.h"
#include "data/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTime>

QString com_port_path(int port)
{
    const QString link = QDir(program_dir()).filePath(port == 1 ? QStringLiteral("COM1") : QStringLiteral("COM2"));
    // A link whose target is gone still names the port the shop meant: its
    // open fails and says so, rather than falling back to another line.
    const QFileInfo fi(link);
    if (fi.exists() || fi.isSymLink()) return link;
    return port == 1 ? QStringLiteral("/dev/ttyS0") : QStringLiteral("/dev/ttyS1");
}

int com_port_number(const QString& choice) { return choice == QLatin1String("COM01") ? 1 : 2; }

QString rcv_log_path()
{
    return QDir(program_dir()).filePath(QStringLiteral("TXTFILE/") + today_text() + QStringLiteral(".txt"));
}

bool append_rcv_log(const QByteArrayList& frames)
{
    QDir dir(program_dir());
    if (!dir.exists(QStringLiteral("TXTFILE")) && !dir.mkpath(QStringLiteral("TXTFILE"))) return false;
    // The whole entry is written at once, so a failed write leaves no half line.
    QByteArray entry = (today_text() + QTime::currentTime().toString(QStringLiteral("HH:mm:ss"))).toLatin1();
    entry += "\r\n";
    for (const QByteArray& f : frames) entry += f + "\r\n";
    entry += "\r\n";
    QFile file(rcv_log_path());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) return false;
    const bool whole = file.write(entry) == entry.size();
    file.close();
    return whole && file.error() == QFileDevice::NoError;
}
