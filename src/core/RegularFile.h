#pragma once

#include <QByteArray>
#include <QString>

namespace marten {

// What reading a file the program does not control gave: its bytes, or why there are none.
struct FileContents {
    enum class Problem { None, Missing, NotRegular, TooLarge, Unreadable };

    QByteArray bytes;
    Problem problem = Problem::None;
    int error = 0; // errno, for Missing and Unreadable

    bool ok() const { return problem == Problem::None; }
    // A short reason in the system's words ("Permission denied", "not a regular file").
    QString reason() const;
};

// Reads a regular file of at most `maxSize` bytes, links followed. Never blocks: a FIFO, a
// device or a socket is opened without waiting and refused, and a file that grows past the
// cap while it is read is refused too.
FileContents readRegularFile(const QString& path, qint64 maxSize);

} // namespace marten
