// SPDX-License-Identifier: GPL-3.0-or-later
#include "AboutBox.h"

#include "language/Language.h"
#include "store/Version.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>

namespace {

void closedByOk(CatalogueWindow &window)
{
    window.setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(window.control<QPushButton>(QStringLiteral("Command1")), &QPushButton::clicked, &window,
                     &QWidget::close);
}

} // namespace

QString AboutBox::versionText()
{
    return QStringLiteral("Dialmeter v") + QLatin1String(version::Text);
}

AboutBox::AboutBox(const Language &language)
    : CatalogueWindow(catalogue::aboutBox())
{
    language.apply({this});
    control<QLabel>(QStringLiteral("Label1"))->setText(versionText());
    for (const char *link : {"Label3", "Label4"}) {
        auto *label = control<QLabel>(QString::fromLatin1(link));
        QFont font = label->font();
        font.setUnderline(true);
        label->setFont(font);
        label->installEventFilter(this);
    }
    closedByOk(*this);
}

bool AboutBox::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        // The shown addresses may be translated; the opened ones are fixed.
        if (watched == control(QStringLiteral("Label3")))
            emit linkActivated(QUrl(QStringLiteral("https://") + QString::fromLatin1(version::WebSite)));
        else if (watched == control(QStringLiteral("Label4")))
            emit linkActivated(QUrl(QStringLiteral("mailto:") + QString::fromLatin1(version::Contact)));
    }
    return CatalogueWindow::eventFilter(watched, event);
}

AlertWindow::AlertWindow(const Language &language)
    : CatalogueWindow(catalogue::packageAlert())
{
    language.apply({this});
    connect(control<QPushButton>(QStringLiteral("Command1")), &QPushButton::clicked, this,
            &AlertWindow::acknowledged);
    closedByOk(*this);
}
