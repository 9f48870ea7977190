#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A JSON string for the text: quotes and backslashes escaped, control characters as \n, \t and
// the like or \u00XX, other characters as they are. A lone surrogate (Windows allows one in a
// name) is written as its \uXXXX escape: the name stays exactly what it is, and the line stays
// well-formed UTF-16 that converts to UTF-8 without loss.
[[nodiscard]] std::wstring jsonString(const std::wstring& text);

// One JSON object built member by member in the order given, for one line of a report.
class JsonObject {
public:
    JsonObject& add(const wchar_t* key, const std::wstring& text);
    JsonObject& add(const wchar_t* key, const wchar_t* text) { return add(key, std::wstring(text)); }
    JsonObject& add(const wchar_t* key, std::int64_t number);
    JsonObject& add(const wchar_t* key, bool value);
    JsonObject& add(const wchar_t* key, const std::vector<std::wstring>& texts);
    // An optional truth: null when there is none.
    JsonObject& add(const wchar_t* key, std::optional<bool> value);
    // A member whose value is JSON already (an object built by another JsonObject, or null).
    JsonObject& addJson(const wchar_t* key, const std::wstring& json);

    [[nodiscard]] std::wstring text() const { return text_ + L'}'; }

private:
    std::wstring& member(const wchar_t* key);

    std::wstring text_ = L"{";
};
