// Indexing the window's lists the way its list class does: an index outside the list raises the
// list's index error, which the handler guard shows.
#pragma once

#include <cstddef>
#include <string>

#include "playback/app_error.h"

template <typename List>
const auto& ListItem(const List& list, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= list.size()) {
        throw AppError("List index out of bounds (" + std::to_string(index) + ")");
    }
    return list[static_cast<std::size_t>(index)];
}
