#pragma once

#include <QObject>

#include <optional>

namespace marten {

// The desktop's accent colour, read from the platform and followed for as long as the object
// lives. Main thread only.
class AccentColourSource : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Starts reading and returns at once: the colour comes later, through `changed`.
    virtual void start() = 0;

signals:
    // The colour as 0xRRGGBB, first when it is known and then whenever it changes; none when
    // the desktop has no accent colour.
    void changed(std::optional<quint32> rgb);
};

} // namespace marten
