// Reading a line's state dump in tests.
#pragma once

#include <cstddef>
#include <string>

namespace termsim::testing {

// One field of the terminal at position `index` in the state dump `json`,
// as its JSON text; "<no terminal>" or "<no field>" where there is none.
inline std::string stateField(const std::string& json, const std::string& field,
                              std::size_t index = 0) {
    std::size_t at = 0;
    for (std::size_t i = 0; i <= index; ++i) {
        at = json.find("\"address\"", at + 1);
        if (at == std::string::npos) return "<no terminal>";
    }
    at = json.find("\"" + field + "\": ", at);
    if (at == std::string::npos) return "<no field>";
    at += field.size() + 4;
    if (json[at] == '[') return json.substr(at, json.find(']', at) + 1 - at);
    return json.substr(at, json.find_first_of(",\n", at) - at);
}

}  // namespace termsim::testing
