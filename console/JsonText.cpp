#include "console/JsonText.h"

#include <cwchar>

namespace {

bool isHighSurrogate(wchar_t c) noexcept { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(wchar_t c) noexcept { return c >= 0xDC00 && c <= 0xDFFF; }

std::wstring unicodeEscape(wchar_t c)
{
    wchar_t escape[8];
    std::swprintf(escape, 8, L"\\u%04x", static_cast<unsigned>(c));
    return escape;
}

} // namespace

std::wstring jsonString(const std::wstring& text)
{
    std::wstring json = L"\"";
    for (std::size_t at = 0; at < text.size(); ++at) {
        const wchar_t c = text[at];
        switch (c) {
        case L'"':
            json += L"\\\"";
            continue;
        case L'\\':
            json += L"\\\\";
            continue;
        case L'\b':
            json += L"\\b";
            continue;
        case L'\f':
            json += L"\\f";
            continue;
        case L'\n':
            json += L"\\n";
            continue;
        case L'\r':
            json += L"\\r";
            continue;
        case L'\t':
            json += L"\\t";
            continue;
        default:
            break;
        }
        if (isHighSurrogate(c) && at + 1 < text.size() && isLowSurrogate(text[at + 1])) {
            json += c;
            json += text[++at];
        } else if (c < 0x20 || isHighSurrogate(c) || isLowSurrogate(c)) {
            json += unicodeEscape(c);
        } else {
            json += c;
        }
    }
    return json + L'"';
}

std::wstring& JsonObject::member(const wchar_t* key)
{
    if (text_.size() > 1)
        text_ += L',';
    text_ += jsonString(key) + L':';
    return text_;
}

JsonObject& JsonObject::add(const wchar_t* key, const std::wstring& text)
{
    member(key) += jsonString(text);
    return *this;
}

JsonObject& JsonObject::add(const wchar_t* key, std::int64_t number)
{
    member(key) += std::to_wstring(number);
    return *this;
}

JsonObject& JsonObject::add(const wchar_t* key, bool value)
{
    member(key) += value ? L"true" : L"false";
    return *this;
}

JsonObject& JsonObject::add(const wchar_t* key, const std::vector<std::wstring>& texts)
{
    std::wstring& text = member(key);
    text += L'[';
    for (std::size_t index = 0; index < texts.size(); ++index)
        text += (index == 0 ? L"" : L",") + jsonString(texts[index]);
    text += L']';
    return *this;
}

JsonObject& JsonObject::add(const wchar_t* key, std::optional<bool> value)
{
    return value ? add(key, *value) : addJson(key, L"null");
}

JsonObject& JsonObject::addJson(const wchar_t* key, const std::wstring& json)
{
    member(key) += json;
    return *this;
}
