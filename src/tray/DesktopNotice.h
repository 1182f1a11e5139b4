// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <functional>

// A desktop notification (the freedesktop.org notification service on the
// session bus): a title and a text the desktop shows for a few seconds, each
// replacing the one this object showed before. Nothing waits for the service.
class DesktopNotice final : public QObject {
    Q_OBJECT
public:
    // Shown this long, unless the desktop keeps notifications longer.
    static constexpr int ShownMilliseconds = 5000;
    // Told why when the desktop could not show the notice: it has no
    // notification service, or no session bus at all.
    using Failure = std::function<void(const QString &why)>;

    using QObject::QObject;

    void show(const QString &title, const QString &text, Failure failure);

private:
    uint lastId_ = 0;
};
