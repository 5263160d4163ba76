// The names that a file's new content is written under before it takes the file's place: hidden
// beside the file, and unique to the process and the attempt, so that two saves never meet and a
// name left over by a crashed run is passed by. Each backend creates the files its own way.
#pragma once

#include <functional>
#include <string>

namespace platform {

// Offers `create` one name after another for a temporary file beside `target`, whose directory
// is `directory` (ending in its separator) and whose own name is `baseName`. `create` returns
// false only when the name is taken; then the next is offered, up to a limit. Returns the name
// offered last.
std::string OfferTemporaryNames(const std::string& directory, const std::string& baseName,
                                unsigned long processId,
                                const std::function<bool(const std::string& name)>& create);

}  // namespace platform
