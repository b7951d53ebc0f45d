// The data link Data1: it holds the path of the rate file, opens its table once,
// keeps a current record, shows that record's fields in bound labels and writes
// back, when the record is left, every field whose label caption the program set.
#pragma once

#include "platform/access/access_file.h"

#include <QLabel>
#include <QObject>
#include <QString>
#include <optional>
#include <vector>

namespace devimax::rates {

class DataLink;

// A label that shows one field of the link's current record. Setting its caption
// through setCaption marks that field changed.
class BoundLabel : public QLabel {
    Q_OBJECT
public:
    BoundLabel(DataLink* link, const QString& field, QWidget* parent);
    const QString& field() const { return field_; }
    void setCaption(const QString& text);

private:
    DataLink* link_;
    QString field_;
};

class DataLink : public QObject {
    Q_OBJECT
public:
    explicit DataLink(QObject* parent = nullptr);

    void setDatabaseName(const QString& path) { databaseName_ = path; }
    const QString& databaseName() const { return databaseName_; }
    void setRecordSource(const QString& table) { recordSource_ = table; }
    const QString& recordSource() const { return recordSource_; }

    void bind(BoundLabel* label);
    // Reads the table and makes its first record current; on failure shows the
    // engine's message and stays closed. Opening again does nothing.
    bool open();
    bool isOpen() const { return open_; }

    // Record position: 0 .. recordCount()-1, or recordCount() after the last one.
    int position() const { return position_; }
    int recordCount() const { return static_cast<int>(rows_.size()); }

    // Leave the current record (writing its changed fields), then move. Moving once
    // past the last record is allowed; a failure leaves the position unchanged.
    std::optional<access::Error> moveNext();
    std::optional<access::Error> moveFirst();

private:
    friend class BoundLabel;
    void markChanged(BoundLabel* label);
    std::optional<access::Error> leaveRecord();
    std::optional<access::Error> readTable();
    void showRecord();
    static access::Error notOpen();

    QString databaseName_;
    QString recordSource_;
    std::vector<BoundLabel*> labels_;
    std::vector<BoundLabel*> changed_;
    std::vector<std::string> columnNames_;
    std::vector<std::vector<access::Value>> rows_;
    bool open_ = false;
    bool openTried_ = false;
    int position_ = 0;
};

} // namespace devimax::rates
