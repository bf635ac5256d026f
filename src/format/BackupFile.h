#pragma once

#include <QString>
#include <functional>

class QIODevice;

namespace kp {

// Replaces the file at path with what write puts on the device it is handed, keeping the
// previous file safe: it is first moved to path + "_TMP" (after removing a stale one of that
// name), the new file is written beside the target and takes its name only once complete
// (QSaveFile), and then the backup is deleted. When anything fails, the previous file is put
// back under path and the failure is raised (KpError::FileAccess, or whatever write raised).
// When the backup cannot be made, nothing is touched.
void replaceWithBackup(const QString& path, const std::function<void(QIODevice&)>& write);

} // namespace kp
