// The atomic writer's temporary files. Each is a hidden file beside the file being written,
// named "." + that file's name + ".~" + process id + "-" + serial number. The writer holds an
// exclusive lock (flock) on it from just after creating it until it has been renamed into
// place; a temporary file that no one holds a lock on was left behind by a writer that died
// (a crash, a kill, a power cut) and is stale. Process ids are never trusted for this: after a
// restart another process may carry the id of the one that died.
#pragma once

#include <QByteArray>
#include <QString>

namespace store {

// The name of temporary file `serial` of process `pid` for the file named `base`.
QByteArray temporaryName(const QByteArray& base, qint64 pid, unsigned serial);

// The name of the file that `name` is a temporary file of; empty when `name` is no
// temporary file's name.
QByteArray temporaryTarget(const QByteArray& name);

// Creates a new temporary file in `folder` for the file named `base`, with permissions `mode`,
// and locks it. Returns its descriptor, open for writing, and sets `path` to its path. The lock
// lasts as long as the descriptor or a duplicate of it is open. Throws IoError.
int createTemporary(const QByteArray& folder, const QByteArray& base, unsigned mode,
                    QByteArray& path);

struct Sweep {
  int removed = 0;  // stale temporary files removed
  int inUse = 0;    // temporary files left because a writer holds them

  Sweep& operator+=(const Sweep& other) {
    removed += other.removed;
    inUse += other.inUse;
    return *this;
  }
};

// Removes the stale temporary files in `folder`: those of the file named `base`, or of any
// file when `base` is empty. Nothing but a regular file with a temporary file's name that no
// one holds a lock on is removed; one that cannot be examined stays. Never throws.
Sweep removeStaleTemporaries(const QString& folder, const QString& base = QString());

}  // namespace store
