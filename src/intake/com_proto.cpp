#include "intake/com_proto.h"

void com_proto::reset()
{
    frames_.clear();
    com_line_.clear();
    received_ = 0;
    done_ = false;
}

QList<com_proto::Event> com_proto::feed(QByteArrayView bytes)
{
    QList<Event> out;
    for (qsizetype i = 0; i < bytes.size() && !done_; ++i) {
        if (++received_ > max_transfer) {
            done_ = true;
            out.append({Mark::Overflow, {}});
            break;
        }
        const char c = bytes[i];
        switch (c) {
        case '<':
            // A new start empties what was pending, not the frames.
            com_line_.clear();
            out.append({Mark::Start, {}});
            break;
        case '>':
            done_ = true;
            out.append({Mark::End, {}});
            break;
        case STX:
            com_line_.clear();
            break;
        case ETX:
            frames_.append(com_line_);
            out.append({Mark::Frame, com_line_});
            com_line_.clear();
            break;
        case CR:
        case LF:
            break;
        default:
            com_line_.append(c);
        }
    }
    return out;
}

int com_proto::acks(const QList<Event>& events)
{
    int n = 0;
    for (const Event& e : events)
        if (e.mark == Mark::Start || e.mark == Mark::Frame) ++n;
    return n;
}
