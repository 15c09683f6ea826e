// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace kestrova {

// Gives the file at `path` the content `bytes` so that a failure at any
// point leaves the file as it was: the bytes go to a new file in the same
// folder, which is written, flushed to the disk and closed, and only then
// renamed over the old one. The new file keeps the permission bits of the
// old one; when `path` is a symbolic link, the file it points to is replaced
// and the link stays.
//
// When the folder refuses the new file or the rename (no write permission
// on the folder, or a sticky folder and a file of another owner) but the
// existing target is writable, the target is rewritten in place instead:
// truncated, written and flushed to the disk. When that fails (a full
// disk), its old content is written back, so it is left as it was unless
// it could not be read or is larger than 64 KiB.
//
// Throws IoError. An existing target that is read-only (we may not write
// it, or it has no write bit at all: that is the read-only attribute, which
// even the superuser respects here), a folder or anything but a regular
// file fails with 5 "File access denied" before anything is written. Any
// other failure throws the error of the step that failed, after the new
// file has been removed.
void ReplaceFile(const std::string& path, std::string_view bytes);

}  // namespace kestrova
