#include "platform/directory_list.h"

#include <QDir>

namespace devimax::platform {

DirectoryList::DirectoryList(QWidget* parent) : QListWidget(parent), path_(QDir::currentPath()) {
    setFocusPolicy(Qt::NoFocus);
    addItem(QDir::toNativeSeparators(path_));
}

DriveList::DriveList(QWidget* parent) : QComboBox(parent) {
    setFocusPolicy(Qt::NoFocus);
    for (const QFileInfo& drive : QDir::drives())
        addItem(QDir::toNativeSeparators(drive.absoluteFilePath()));
}

QString joinWithoutCheck(const QString& directory, const QString& fileName) {
    return directory + QDir::separator() + fileName;
}

} // namespace devimax::platform
