// The rows of the file digest list as a two-column table for the list view.
#pragma once

#include "checksum/FileDigestList.h"

#include <QAbstractTableModel>

namespace quorvix {

// Follows the list as its observer: a row shows from the moment it is appended, with an empty
// second column until its result is set. The list must outlive the model, or the model must be
// detached first (the list's observer set to nullptr).
class FileDigestListModel final : public QAbstractTableModel, public FileDigestListObserver {
    Q_OBJECT

public:
    FileDigestListModel(const FileDigestList& list, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void RowAppended(std::size_t index) override;
    void RowCompleted(std::size_t index) override;

signals:
    // A row received its result (a digest or "Could not open file").
    void RowResultSet(int row);

private:
    const FileDigestList& list_;
    int shownRows_ = 0; // rows announced to views; the list may be one ahead during an append
};

} // namespace quorvix
