// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/PlatformStore.h"

#include "store/DataFolder.h"
#include "store/SqliteStoreBackend.h"

std::unique_ptr<StoreBackend> openPlatformStore(const std::string &dataFolder, std::string *notice, std::string *error)
{
    auto store = std::make_unique<SqliteStoreBackend>();
    QString noticeText, errorText;
    const bool opened = store->open(datafolder::storeFile(QString::fromStdString(dataFolder)), &noticeText, &errorText);
    *notice = noticeText.toStdString();
    *error = errorText.toStdString();
    if (!opened)
        return nullptr;
    return store;
}
