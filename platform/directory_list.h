// Dir1 and Drive1: the hidden directory and drive lists of the main window. The
// directory list knows the process's working directory as it was when the window
// was created; nothing ever changes it.
#pragma once

#include <QComboBox>
#include <QListWidget>
#include <QString>

namespace devimax::platform {

class DirectoryList : public QListWidget {
    Q_OBJECT
public:
    explicit DirectoryList(QWidget* parent = nullptr);
    const QString& path() const { return path_; }

private:
    QString path_;
};

class DriveList : public QComboBox {
    Q_OBJECT
public:
    explicit DriveList(QWidget* parent = nullptr);
};

// The rate file's path: the directory followed by the platform's separator and the
// file name, without looking for a separator already at the end.
QString joinWithoutCheck(const QString& directory, const QString& fileName);

} // namespace devimax::platform
