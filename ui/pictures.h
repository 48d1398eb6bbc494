// The pictures embedded in the program, found by name.
#pragma once

#include <QPixmap>
#include <QString>
#include <stdexcept>

namespace ui {

class PictureNotFound : public std::runtime_error {
 public:
  explicit PictureNotFound(const QString& name);
};

// Decodes the embedded picture called `name`; letter case does not matter
// ("CRC_1", "crc_1"). Throws PictureNotFound for a name that does not exist.
QPixmap picture(const QString& name);

}  // namespace ui
