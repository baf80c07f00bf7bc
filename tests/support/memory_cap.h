#pragma once
#include <QFile>
#include <sys/resource.h>

// Caps the address space while it lives, so that code sizing something by
// a number in a file, or spelling out far more than the file holds, fails
// (std::bad_alloc) instead of passing on a machine with memory to spare. Not under the address sanitizer, which
// reserves terabytes.
class AddressSpaceCap {
public:
    AddressSpaceCap()
    {
#if !defined(__SANITIZE_ADDRESS__)
        QFile status(QStringLiteral("/proc/self/status"));
        qint64 used = -1;
        if (status.open(QIODevice::ReadOnly))
            for (const QByteArray& line : status.readAll().split('\n'))
                if (line.startsWith("VmSize:"))
                    used = line.mid(7).trimmed().split(' ').value(0).toLongLong() * 1024;
        const rlim_t cap = rlim_t(used) + (rlim_t(2) << 30);
        if (used > 0 && getrlimit(RLIMIT_AS, &old_) == 0 && (old_.rlim_cur == RLIM_INFINITY || old_.rlim_cur > cap)) {
            rlimit r = old_;
            r.rlim_cur = cap;
            active_ = setrlimit(RLIMIT_AS, &r) == 0;
        }
#endif
    }
    ~AddressSpaceCap()
    {
        if (active_)
            setrlimit(RLIMIT_AS, &old_);
    }

private:
    rlimit old_{};
    bool active_ = false;
};
