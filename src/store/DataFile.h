// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFile>
#include <QString>

// Files of the data folder. Every member of the group may create names in a
// shared data folder, so any name there may be a symbolic link planted to make
// another user's meter write into a file of theirs: no file of the folder is
// opened through a link, and only regular files are opened at all.
namespace datafile {

// Opens the file named by file.fileName() in `mode` (ReadOnly; WriteOnly or
// ReadWrite, with Truncate or not; Append; each with Text or not), creating it for writing
// with the usual permissions (0666 less the umask). The name is never followed
// when it is a link. Returns false, with the reason in *error, when it is a
// link, not a regular file, or cannot be opened.
bool open(QFile &file, QIODevice::OpenMode mode, QString *error);

// Whether an open file may be trusted to hold what its owner meant: it belongs
// to this user or to the system (root), and no one else may write it.
bool isTrusted(const QFile &file);

#ifdef Q_OS_UNIX
// The system's open(2), except that an existing file is never opened with
// O_CREAT: in a sticky folder that a group may write, a kernel that protects
// regular files there refuses such an open to anyone but the file's or the
// folder's owner, which would lock every other member out of a shared file.
// The name is opened without O_CREAT first; only when it does not exist is it
// created, exclusively, with `mode`.
int openShared(const char *path, int flags, int mode);
#endif

} // namespace datafile
