#include "rates/data_link.h"

#include "platform/locale_text.h"
#include "platform/message_box.h"
#include "rates/field_text.h"

#include <algorithm>

namespace devimax::rates {

BoundLabel::BoundLabel(DataLink* link, const QString& field, QWidget* parent)
    : QLabel(parent), link_(link), field_(field) {
    link_->bind(this);
}

void BoundLabel::setCaption(const QString& text) {
    setText(text);
    link_->markChanged(this);
}

DataLink::DataLink(QObject* parent) : QObject(parent) {}

void DataLink::bind(BoundLabel* label) {
    labels_.push_back(label);
}

access::Error DataLink::notOpen() {
    return {3420, "Objet non valide : la table des taux n'est pas ouverte."};
}

std::optional<access::Error> DataLink::readTable() {
    access::Error error;
    const auto database = access::Database::open(databaseName_.toStdString(), error);
    if (!database)
        return error;
    const auto table = database->readTable(recordSource_.toStdString(), error);
    if (!table)
        return error;
    columnNames_.clear();
    for (const auto& column : table->columns)
        columnNames_.push_back(column.name);
    rows_ = table->rows;
    return std::nullopt;
}

bool DataLink::open() {
    if (openTried_)
        return open_;
    openTried_ = true;
    if (auto error = readTable()) {
        platform::showMessage(nullptr, QStringLiteral("Erreur"),
                              QString::fromStdString(error->message));
        return false;
    }
    open_ = true;
    position_ = 0;
    showRecord();
    if (rows_.empty()) {
        platform::showMessage(nullptr, QStringLiteral("Erreur"),
                              QStringLiteral("La table « %1 » de « %2 » ne contient aucun "
                                             "enregistrement.")
                                  .arg(recordSource_, databaseName_));
    }
    return true;
}

void DataLink::showRecord() {
    const std::string separator = platform::decimalSeparator();
    for (BoundLabel* label : labels_) {
        QString text;
        if (position_ >= 0 && position_ < recordCount()) {
            const auto& row = rows_[static_cast<std::size_t>(position_)];
            for (std::size_t i = 0; i < columnNames_.size() && i < row.size(); ++i) {
                if (QString::fromStdString(columnNames_[i])
                        .compare(label->field(), Qt::CaseInsensitive) == 0)
                    text = QString::fromStdString(fieldText(row[i], separator));
            }
        }
        label->setText(text);
    }
}

void DataLink::markChanged(BoundLabel* label) {
    if (std::find(changed_.begin(), changed_.end(), label) == changed_.end())
        changed_.push_back(label);
}

std::optional<access::Error> DataLink::leaveRecord() {
    if (changed_.empty() || position_ >= recordCount())
        return std::nullopt;
    std::vector<access::FieldUpdate> updates;
    for (BoundLabel* label : changed_)
        updates.push_back({label->field().toStdString(), label->text().toStdString()});
    access::Error error;
    if (!access::updateRecord(databaseName_.toStdString(), recordSource_.toStdString(),
                              static_cast<std::size_t>(position_), updates,
                              platform::decimalSeparator(), error))
        return error;
    changed_.clear();
    // The file now holds the new values: show them as stored from here on.
    if (auto reread = readTable())
        return reread;
    return std::nullopt;
}

std::optional<access::Error> DataLink::moveNext() {
    if (!open_)
        return notOpen();
    if (position_ >= recordCount())
        return access::Error{3021, "Aucun enregistrement en cours."};
    if (auto error = leaveRecord())
        return error;
    ++position_;
    showRecord();
    return std::nullopt;
}

std::optional<access::Error> DataLink::moveFirst() {
    if (!open_)
        return notOpen();
    if (rows_.empty())
        return access::Error{3021, "Aucun enregistrement en cours."};
    if (auto error = leaveRecord())
        return error;
    position_ = 0;
    showRecord();
    return std::nullopt;
}

} // namespace devimax::rates
