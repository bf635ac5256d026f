#pragma once

#include "model/KpError.h"

#include <QHash>
#include <QString>
#include <memory>
#include <vector>

namespace kp {

// Ordered list of shared items with optional unique keys that compare without letter case.
// Positions are 1-based, as exams number questions and series. Lookups by key are hashed so that an
// exam of many thousands of questions loads in linear time.
template <typename T> class KeyedList {
public:
    using Ptr = std::shared_ptr<T>;

private:
    // Declared before the iterator that walks them.
    struct Entry {
        QString key;
        Ptr item;
    };

public:
    long Count() const { return static_cast<long>(items_.size()); }
    bool isEmpty() const { return items_.empty(); }

    // Stores item under key (an empty key stores it without one). Refuses a duplicate key.
    void insert(const QString& key, Ptr item) {
        if (!key.isEmpty()) {
            const QString folded = key.toCaseFolded();
            if (byKey_.contains(folded))
                throw KpError(KpError::DuplicateKey,
                              QStringLiteral("La clave ya está asociada a un elemento: ") + key);
            byKey_.insert(folded, item);
        }
        items_.push_back(Entry{key, std::move(item)});
    }

    const Ptr& Item(long position) const { return items_.at(checkPosition(position)).item; }
    const Ptr& Item(int position) const { return Item(static_cast<long>(position)); }
    const Ptr& Item(const QString& key) const {
        const auto it = byKey_.constFind(key.toCaseFolded());
        if (it == byKey_.constEnd())
            throw KpError(KpError::InvalidArgument, QStringLiteral("Clave no encontrada: ") + key);
        return it.value();
    }

    // Item by key without raising: null when absent.
    Ptr find(const QString& key) const { return byKey_.value(key.toCaseFolded()); }
    bool contains(const QString& key) const { return byKey_.contains(key.toCaseFolded()); }

    void Remove(long position) { removeAt(checkPosition(position)); }
    void Remove(int position) { Remove(static_cast<long>(position)); }
    void Remove(const QString& key) { removeAt(indexOfKey(key)); }

    // Key under which the item at a 1-based position is stored (empty when none).
    const QString& keyAt(long position) const { return items_.at(checkPosition(position)).key; }

    // Enumeration in insertion order.
    class const_iterator {
    public:
        using Inner = typename std::vector<Entry>::const_iterator;
        explicit const_iterator(Inner it) : it_(it) {}
        const Ptr& operator*() const { return it_->item; }
        const_iterator& operator++() {
            ++it_;
            return *this;
        }
        bool operator!=(const const_iterator& o) const { return it_ != o.it_; }
        bool operator==(const const_iterator& o) const { return it_ == o.it_; }

    private:
        Inner it_;
    };
    const_iterator begin() const { return const_iterator(items_.begin()); }
    const_iterator end() const { return const_iterator(items_.end()); }

private:
    size_t checkPosition(long position) const {
        if (position < 1 || position > Count())
            throw KpError(KpError::OutOfRange,
                          QStringLiteral("Posición fuera de rango: %1").arg(position));
        return static_cast<size_t>(position - 1);
    }

    size_t indexOfKey(const QString& key) const {
        const QString folded = key.toCaseFolded();
        if (byKey_.contains(folded))
            for (size_t i = 0; i < items_.size(); ++i)
                if (items_[i].key.toCaseFolded() == folded)
                    return i;
        throw KpError(KpError::InvalidArgument, QStringLiteral("Clave no encontrada: ") + key);
    }

    void removeAt(size_t index) {
        if (!items_[index].key.isEmpty())
            byKey_.remove(items_[index].key.toCaseFolded());
        items_.erase(items_.begin() + static_cast<long>(index));
    }

    std::vector<Entry> items_;
    QHash<QString, Ptr> byKey_;
};

} // namespace kp
