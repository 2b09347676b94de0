#include "gui/FileDigestListModel.h"

#include "gui/NativeText.h"

namespace quorvix {

FileDigestListModel::FileDigestListModel(const FileDigestList& list, QObject* parent)
    : QAbstractTableModel(parent), list_(list), shownRows_(static_cast<int>(list.RowCount())) {}

int FileDigestListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shownRows_;
}

int FileDigestListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant FileDigestListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= shownRows_) {
        return {};
    }
    const FileDigestRow& row = list_.Row(static_cast<std::size_t>(index.row()));
    if (role == Qt::DisplayRole) {
        if (index.column() == 0) {
            return FromNative(row.Path);
        }
        return row.Result ? FromNative(*row.ResultText()) : QString();
    }
    if (role == Qt::ToolTipRole && index.column() == 0) {
        // The path column is narrow and elides; the whole path is a hover away.
        return FromNative(row.Path);
    }
    return {};
}

QVariant FileDigestListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    switch (section) {
    case 0:
        return QStringLiteral("文件");
    case 1:
        return QStringLiteral("MD5 校验值");
    default:
        return {};
    }
}

Qt::ItemFlags FileDigestListModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void FileDigestListModel::RowAppended(std::size_t index) {
    const int row = static_cast<int>(index);
    beginInsertRows({}, row, row);
    shownRows_ = row + 1;
    endInsertRows();
}

void FileDigestListModel::RowCompleted(std::size_t index) {
    const int row = static_cast<int>(index);
    emit dataChanged(this->index(row, 1), this->index(row, 1), {Qt::DisplayRole});
    emit RowResultSet(row);
}

} // namespace quorvix
