// History steps over the owning lists of the facility (panels, loops, elements, zones, rules).
//
// Records are found by identity, not by position, when a step is replayed, so a list sorted
// between two steps still gives back the record the step means.
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

#include "model/CUndoStep.h"

namespace undo {

template <class T>
using OwnedList = std::vector<std::unique_ptr<T>>;

template <class T>
std::size_t indexOf(const OwnedList<T>& list, const T* item) {
    auto at = std::find_if(list.begin(), list.end(), [item](const auto& p) { return p.get() == item; });
    return static_cast<std::size_t>(at - list.begin());
}

// A record that went into or out of a list. While it is out, the step owns it.
template <class T>
class ListToggle : public CUndoStep {
public:
    // `item` has just been put into `list`.
    ListToggle(OwnedList<T>& list, T* item) : m_list(list), m_item(item) {}
    // `item` has just been taken out of `list` at `index`.
    ListToggle(OwnedList<T>& list, std::size_t index, std::unique_ptr<T> item)
        : m_list(list), m_item(item.get()), m_index(index), m_out(std::move(item)) {}

    void apply(CUndoContext&, bool) override {
        if (m_out) {
            m_list.insert(m_list.begin() + static_cast<std::ptrdiff_t>(std::min(m_index, m_list.size())),
                          std::move(m_out));
            return;
        }
        m_index = indexOf(m_list, m_item);
        if (m_index == m_list.size()) return;
        m_out = std::move(m_list[m_index]);
        m_list.erase(m_list.begin() + static_cast<std::ptrdiff_t>(m_index));
    }

private:
    OwnedList<T>& m_list;
    T* m_item;
    std::size_t m_index = 0;
    std::unique_ptr<T> m_out;
};

// A record moved within its list; `index` is where it was before.
template <class T>
class ListMove : public CUndoStep {
public:
    ListMove(OwnedList<T>& list, T* item, std::size_t index) : m_list(list), m_item(item), m_index(index) {}

    void apply(CUndoContext&, bool) override {
        const std::size_t now = indexOf(m_list, m_item);
        if (now == m_list.size()) return;
        std::unique_ptr<T> item = std::move(m_list[now]);
        m_list.erase(m_list.begin() + static_cast<std::ptrdiff_t>(now));
        m_list.insert(m_list.begin() + static_cast<std::ptrdiff_t>(std::min(m_index, m_list.size())), std::move(item));
        m_index = now;
    }

private:
    OwnedList<T>& m_list;
    T* m_item;
    std::size_t m_index;
};

// A list put in another order; holds the order it had before.
template <class T>
class ListOrder : public CUndoStep {
public:
    explicit ListOrder(OwnedList<T>& list) : m_list(list), m_order(orderOf(list)) {}

    void apply(CUndoContext&, bool) override {
        std::vector<T*> now = orderOf(m_list);
        std::unordered_map<const T*, std::size_t> rank;
        for (std::size_t i = 0; i < m_order.size(); ++i) rank.emplace(m_order[i], i);
        std::stable_sort(m_list.begin(), m_list.end(), [&rank](const auto& a, const auto& b) {
            return rank[a.get()] < rank[b.get()];
        });
        m_order = std::move(now);
    }

private:
    static std::vector<T*> orderOf(const OwnedList<T>& list) {
        std::vector<T*> order;
        order.reserve(list.size());
        for (const auto& p : list) order.push_back(p.get());
        return order;
    }

    OwnedList<T>& m_list;
    std::vector<T*> m_order;
};

// A field given another value; holds the value it had before.
template <class V>
class ValueSwap : public CUndoStep {
public:
    ValueSwap(V& field, V before) : m_field(field), m_value(std::move(before)) {}

    void apply(CUndoContext&, bool) override { std::swap(m_field, m_value); }

private:
    V& m_field;
    V m_value;
};

}  // namespace undo
