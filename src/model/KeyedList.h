#pragma once

#include "model/KpError.h"

#include <QHash>
#include <QString>
#include <memory>
#include <vector>

namespace kp {

// Ordered list of shared items with optional unique keys that compare without letter case.
// Positions are 1-based, as exams number questions and series. A short list (the answers of a
// question) finds a key by looking through its few items; a longer one keeps a hash of its
// keys, so that an exam of many thousands of questions loads in linear time.
template <typename T> class KeyedList {
public:
    using Ptr = std::shared_ptr<T>;

private:
    // Up to this many items a key is found by looking through them.
    static constexpr size_t kShortList = 8;

    // Declared before the iterator that walks them.
    struct Entry {
        QString key;
        QString folded; // key.toCaseFolded(): what keys are compared by
        Ptr item;
    };

public:
    long Count() const { return static_cast<long>(items_.size()); }
    bool isEmpty() const { return items_.empty(); }

    // Stores item under key (an empty key stores it without one). Refuses a duplicate key.
    void insert(const QString& key, Ptr item) {
        QString folded;
        if (!key.isEmpty()) {
            folded = key.toCaseFolded();
            if (lookup(folded))
                throw KpError(KpError::DuplicateKey,
                              QStringLiteral("La clave ya está asociada a un elemento: ") + key);
            if (hashed_)
                byKey_.insert(folded, item);
        }
        items_.push_back(Entry{key, std::move(folded), std::move(item)});
        if (!hashed_ && items_.size() > kShortList)
            hashKeys(items_.size());
    }

    // Room for n items without growing, for a reader that knows how many will come.
    void reserve(long n) {
        items_.reserve(static_cast<size_t>(n));
        if (static_cast<size_t>(n) > kShortList)
            hashKeys(static_cast<size_t>(n));
    }

    const Ptr& Item(long position) const { return items_.at(checkPosition(position)).item; }
    const Ptr& Item(int position) const { return Item(static_cast<long>(position)); }
    const Ptr& Item(const QString& key) const {
        if (const Ptr* found = lookup(key.toCaseFolded()))
            return *found;
        throw KpError(KpError::InvalidArgument, QStringLiteral("Clave no encontrada: ") + key);
    }

    // Item by key without raising: null when absent.
    Ptr find(const QString& key) const {
        const Ptr* found = lookup(key.toCaseFolded());
        return found ? *found : Ptr();
    }
    bool contains(const QString& key) const { return lookup(key.toCaseFolded()) != nullptr; }

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
    const Ptr* lookup(const QString& folded) const {
        if (hashed_) {
            const auto it = byKey_.constFind(folded);
            return it == byKey_.constEnd() ? nullptr : &it.value();
        }
        for (const Entry& e : items_)
            if (!e.folded.isEmpty() && e.folded == folded)
                return &e.item;
        return nullptr;
    }

    void hashKeys(size_t room) {
        if (!hashed_) {
            hashed_ = true;
            byKey_.reserve(static_cast<qsizetype>(room));
            for (const Entry& e : items_)
                if (!e.folded.isEmpty())
                    byKey_.insert(e.folded, e.item);
        } else {
            byKey_.reserve(static_cast<qsizetype>(room));
        }
    }

    size_t checkPosition(long position) const {
        if (position < 1 || position > Count())
            throw KpError(KpError::OutOfRange,
                          QStringLiteral("Posición fuera de rango: %1").arg(position));
        return static_cast<size_t>(position - 1);
    }

    size_t indexOfKey(const QString& key) const {
        const QString folded = key.toCaseFolded();
        for (size_t i = 0; i < items_.size(); ++i)
            if (!items_[i].folded.isEmpty() && items_[i].folded == folded)
                return i;
        throw KpError(KpError::InvalidArgument, QStringLiteral("Clave no encontrada: ") + key);
    }

    void removeAt(size_t index) {
        if (hashed_ && !items_[index].folded.isEmpty())
            byKey_.remove(items_[index].folded);
        items_.erase(items_.begin() + static_cast<long>(index));
    }

    std::vector<Entry> items_;
    QHash<QString, Ptr> byKey_; // folded key -> item, once the list outgrows kShortList
    bool hashed_ = false;
};

} // namespace kp
