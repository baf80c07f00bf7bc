#pragma once
#include <QByteArray>
#include <QByteArrayList>
#include <QByteArrayView>
#include <QList>

// The handheld terminal's line protocol, read byte by byte: "<" opens a
// transfer, every frame is STX, its text and ETX, ">" ends the transfer.
// The scanner only reads; the screen sends an ACK for every read, for every
// "<" and for every ETX (see acks()).
//
// Nothing that arrives is dropped before ">": bytes that follow a "<" or an
// ETX in the same read are scanned on, and a frame whose ETX has not come
// yet is kept and finished by a later read. CR and LF never reach a frame;
// every other byte (0x80 and above included) does, unchanged. A frame starts
// after STX, or, without one, after the last "<" or ETX.
class com_proto {
public:
    static constexpr char STX = 2;
    static constexpr char ETX = 3;
    static constexpr char ACK = 6;
    static constexpr char CR = 13;
    static constexpr char LF = 10;
    // What one reception may bring, from the start of the reception: more is
    // refused.
    static constexpr qint64 max_transfer = 1024 * 1024;

    enum class Mark {
        Start,     // "<": answered with ACK
        Frame,     // ETX closed a frame (in `frame`, without STX and ETX): answered with ACK
        End,       // ">": the transfer is complete
        Overflow,  // more than max_transfer bytes: the reception is refused
    };
    struct Event {
        Mark mark;
        QByteArray frame;
        bool operator==(const Event& o) const { return mark == o.mark && frame == o.frame; }
    };

    // A new reception: no frames, nothing pending, nothing counted.
    void reset();
    // Scans one read; the events in the order of their bytes. After End or
    // Overflow the rest of the read and every later read is ignored until
    // reset().
    QList<Event> feed(QByteArrayView bytes);

    // Every frame of this reception, in arrival order; a repeated "<" keeps them.
    const QByteArrayList& frames() const { return frames_; }
    // The frame being assembled (its ETX has not arrived).
    const QByteArray& com_line() const { return com_line_; }
    // Bytes taken in since reset().
    qint64 received() const { return received_; }
    bool finished() const { return done_; }

    // How many ACKs the events ask for (one per Start and per Frame).
    static int acks(const QList<Event>& events);

private:
    QByteArrayList frames_;
    QByteArray com_line_;
    qint64 received_ = 0;
    bool done_ = false;
};
