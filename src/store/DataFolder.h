// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The folder of the store, the journals and the report file: DIALMETER_HOME when
// set; otherwise /var/lib/dialmeter when it exists and may be written (a meter
// shared by all users of the machine); otherwise $XDG_DATA_HOME/dialmeter.
namespace datafolder {

QString resolve();

// The settings store's file in a data folder.
QString storeFile(const QString &folder);

// resolve(), created when missing. Returns an empty text, with *error, when the
// folder cannot be created.
QString ensure(QString *error);

// In a folder whose group is shared (set-group-id, as an installation makes
// /var/lib/dialmeter), the files this process creates from now on are writable
// by that group, so that every member's meter can go on with them.
void shareNewFilesWithGroup(const QString &folder);

// A shared folder must also be sticky (mode 3775, as an installation makes it),
// so that a member may remove or replace only their own files there. For a
// shared folder that is not, the warning to give; otherwise an empty text.
QString sharingWarning(const QString &folder);

} // namespace datafolder
