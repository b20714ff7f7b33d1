#include "CString.h"

#include "AfxGlobals.h"
#include "CException.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

struct CString::Header {
    // -1 marks the shared empty string, which is never freed; kLockedRefs an
    // unshared buffer handed out by GetBuffer, which copies must not share.
    volatile LONG refs;
    int length;
    int capacity;        // characters, without the NUL
    char* chars() { return reinterpret_cast<char*>(this + 1); }
    // Nobody else sees these characters: they may be written in place.
    bool IsExclusive() const { return refs == 1 || refs == kLockedRefs; }

    static const LONG kLockedRefs = -2;
};

namespace {

// Laid out as a Header followed by its NUL, so every empty CString can share it.
struct EmptyString {
    LONG refs = -1;
    int length = 0;
    int capacity = 0;
    char nul = 0;
};
EmptyString g_empty;

char* EmptyChars() { return &g_empty.nul; }

CString::Header* NewHeader(int capacity) {
    if (capacity < 0 || capacity > INT_MAX / 2) AfxThrowMemoryException();
    auto* header = static_cast<CString::Header*>(
        std::malloc(sizeof(CString::Header) + static_cast<size_t>(capacity) + 1));
    if (!header) AfxThrowMemoryException();
    header->refs = 1;
    header->length = 0;
    header->capacity = capacity;
    header->chars()[0] = 0;
    return header;
}

int SafeLength(const char* text) { return text ? static_cast<int>(std::strlen(text)) : 0; }

bool IsSpace(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == '\v' || ch == '\f';
}

char FoldAscii(char ch) { return (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch + 32) : ch; }

}  // namespace

CString::Header* CString::GetHeader() const { return reinterpret_cast<Header*>(m_data) - 1; }

CString::CString() : m_data(EmptyChars()) {}

CString::CString(const CString& other) : m_data(EmptyChars()) {
    Header* header = other.GetHeader();
    if (header->refs == Header::kLockedRefs) {
        // The owner may still write through its GetBuffer pointer: a copy
        // gets characters of its own.
        Assign(other.m_data, header->length);
    } else if (header->refs >= 0) {
        InterlockedIncrement(&header->refs);
        m_data = other.m_data;
    }
}

CString::CString(CString&& other) noexcept : m_data(other.m_data) { other.m_data = EmptyChars(); }

CString::CString(const char* text) : m_data(EmptyChars()) { Assign(text, SafeLength(text)); }

CString::CString(const char* text, int length) : m_data(EmptyChars()) {
    if (text && length > 0) {
        // Stop at an embedded NUL: the string is a C string.
        const void* nul = std::memchr(text, 0, static_cast<size_t>(length));
        if (nul) length = static_cast<int>(static_cast<const char*>(nul) - text);
        Assign(text, length);
    }
}

CString::CString(char ch, int repeat) : m_data(EmptyChars()) {
    if (ch != 0 && repeat > 0) {
        AllocBeforeWrite(repeat);
        std::memset(m_data, ch, static_cast<size_t>(repeat));
        m_data[repeat] = 0;
        GetHeader()->length = repeat;
    }
}

CString::CString(const wchar_t* text) : m_data(EmptyChars()) {
    if (!text || !*text) return;
    int bytes = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1) return;
    AllocBeforeWrite(bytes - 1);
    WideCharToMultiByte(CP_ACP, 0, text, -1, m_data, bytes, nullptr, nullptr);
    GetHeader()->length = bytes - 1;
}

CString::~CString() { Release(); }

void CString::Release() {
    char* data = m_data;
    m_data = EmptyChars();
    if (data == EmptyChars()) return;
    Header* header = reinterpret_cast<Header*>(data) - 1;
    if (header->refs == Header::kLockedRefs || InterlockedDecrement(&header->refs) == 0)
        std::free(header);
}

CString& CString::operator=(const CString& other) {
    if (m_data != other.m_data) {
        CString copy(other);
        std::swap(m_data, copy.m_data);
    }
    return *this;
}

CString& CString::operator=(CString&& other) noexcept {
    if (this != &other) {
        Release();
        m_data = other.m_data;
        other.m_data = EmptyChars();
    }
    return *this;
}

CString& CString::operator=(const char* text) {
    // The text may point into this string's own characters.
    CString copy(text);
    std::swap(m_data, copy.m_data);
    return *this;
}

CString& CString::operator=(char ch) {
    CString copy(ch, 1);
    std::swap(m_data, copy.m_data);
    return *this;
}

void CString::Assign(const char* text, int length) {
    if (length <= 0) {
        Release();
        return;
    }
    AllocBeforeWrite(length);
    std::memmove(m_data, text, static_cast<size_t>(length));
    m_data[length] = 0;
    GetHeader()->length = length;
}

// Makes m_data an unshared buffer with room for length characters; the old
// contents are not kept.
void CString::AllocBeforeWrite(int length) {
    Header* header = GetHeader();
    if (header->IsExclusive() && header->capacity >= length) return;
    Header* fresh = NewHeader(length);
    Release();
    m_data = fresh->chars();
}

// Makes m_data unshared, keeping the contents.
void CString::CopyBeforeWrite() {
    Header* header = GetHeader();
    if (header->IsExclusive()) return;
    Header* fresh = NewHeader(header->length);
    std::memcpy(fresh->chars(), m_data, static_cast<size_t>(header->length) + 1);
    fresh->length = header->length;
    Release();
    m_data = fresh->chars();
}

int CString::GetLength() const { return GetHeader()->length; }

void CString::Empty() { Release(); }

char CString::GetAt(int index) const {
    return (index >= 0 && index < GetLength()) ? m_data[index] : 0;
}

void CString::SetAt(int index, char ch) {
    if (index < 0 || index >= GetLength()) return;
    if (ch == 0) {
        CopyBeforeWrite();
        m_data[index] = 0;
        GetHeader()->length = index;
        return;
    }
    CopyBeforeWrite();
    m_data[index] = ch;
}

void CString::Concat(const char* text, int length) {
    if (length <= 0) return;
    const int oldLength = GetLength();
    if (length > INT_MAX / 2 - oldLength) AfxThrowMemoryException();
    const int newLength = oldLength + length;
    Header* header = GetHeader();
    if (header->IsExclusive() && header->capacity >= newLength) {
        std::memmove(m_data + oldLength, text, static_cast<size_t>(length));
    } else {
        // Grow geometrically so repeated appends stay linear.
        Header* fresh = NewHeader(std::max(newLength, oldLength + oldLength / 2));
        std::memcpy(fresh->chars(), m_data, static_cast<size_t>(oldLength));
        std::memcpy(fresh->chars() + oldLength, text, static_cast<size_t>(length));
        Release();
        m_data = fresh->chars();
    }
    m_data[newLength] = 0;
    GetHeader()->length = newLength;
}

CString& CString::operator+=(const CString& text) {
    CString keep(text);  // text may be *this
    Concat(keep.m_data, keep.GetLength());
    return *this;
}

CString& CString::operator+=(const char* text) {
    CString keep(text);  // text may point into *this
    Concat(keep.m_data, keep.GetLength());
    return *this;
}

CString& CString::operator+=(char ch) {
    if (ch != 0) Concat(&ch, 1);
    return *this;
}

CString operator+(const CString& a, const CString& b) {
    CString result(a);
    result += b;
    return result;
}
CString operator+(const CString& a, const char* b) {
    CString result(a);
    result += b;
    return result;
}
CString operator+(const char* a, const CString& b) {
    CString result(a);
    result += b;
    return result;
}
CString operator+(const CString& a, char b) {
    CString result(a);
    result += b;
    return result;
}
CString operator+(char a, const CString& b) {
    CString result(a, 1);
    result += b;
    return result;
}

int CString::Compare(const char* text) const { return std::strcmp(m_data, text ? text : ""); }

int CString::CompareNoCase(const char* text) const {
    const unsigned char* a = reinterpret_cast<const unsigned char*>(m_data);
    const unsigned char* b = reinterpret_cast<const unsigned char*>(text ? text : "");
    for (;; ++a, ++b) {
        const unsigned char ca = static_cast<unsigned char>(FoldAscii(static_cast<char>(*a)));
        const unsigned char cb = static_cast<unsigned char>(FoldAscii(static_cast<char>(*b)));
        if (ca != cb) return ca < cb ? -1 : 1;
        if (ca == 0) return 0;
    }
}

CString CString::Mid(int first) const { return Mid(first, GetLength()); }

CString CString::Mid(int first, int count) const {
    const int length = GetLength();
    first = std::clamp(first, 0, length);
    count = std::clamp(count, 0, length - first);
    if (first == 0 && count == length) return *this;
    return CString(m_data + first, count);
}

CString CString::Left(int count) const { return Mid(0, count); }

CString CString::Right(int count) const {
    count = std::clamp(count, 0, GetLength());
    return Mid(GetLength() - count, count);
}

CString CString::SpanIncluding(const char* charSet) const {
    return Left(static_cast<int>(std::strspn(m_data, charSet ? charSet : "")));
}

CString CString::SpanExcluding(const char* charSet) const {
    return Left(static_cast<int>(std::strcspn(m_data, charSet ? charSet : "")));
}

CString& CString::MakeUpper() {
    CopyBeforeWrite();
    for (char* p = m_data; *p; ++p)
        if (*p >= 'a' && *p <= 'z') *p = static_cast<char>(*p - 32);
    return *this;
}

CString& CString::MakeLower() {
    CopyBeforeWrite();
    for (char* p = m_data; *p; ++p) *p = FoldAscii(*p);
    return *this;
}

CString& CString::MakeReverse() {
    CopyBeforeWrite();
    std::reverse(m_data, m_data + GetLength());
    return *this;
}

int CString::Replace(char oldCh, char newCh) {
    if (oldCh == newCh || oldCh == 0) return 0;
    if (newCh == 0) return Remove(oldCh);
    int count = 0;
    for (int i = 0; i < GetLength(); ++i) {
        if (m_data[i] != oldCh) continue;
        if (count++ == 0) CopyBeforeWrite();
        m_data[i] = newCh;
    }
    return count;
}

int CString::Replace(const char* oldText, const char* newText) {
    const int oldLength = SafeLength(oldText);
    if (oldLength == 0) return 0;
    const CString replacement(newText);  // may point into *this
    const CString pattern(oldText);
    CString result;
    int count = 0;
    int from = 0;
    for (int at = Find(pattern, 0); at >= 0; at = Find(pattern, from)) {
        result.Concat(m_data + from, at - from);
        result.Concat(replacement.m_data, replacement.GetLength());
        from = at + oldLength;
        ++count;
    }
    if (count == 0) return 0;
    result.Concat(m_data + from, GetLength() - from);
    *this = std::move(result);
    return count;
}

int CString::Remove(char ch) {
    if (ch == 0 || Find(ch) < 0) return 0;
    CopyBeforeWrite();
    char* end = std::remove(m_data, m_data + GetLength(), ch);
    const int newLength = static_cast<int>(end - m_data);
    const int removed = GetLength() - newLength;
    *end = 0;
    GetHeader()->length = newLength;
    return removed;
}

int CString::Insert(int index, char ch) {
    const char text[2] = {ch, 0};
    return Insert(index, text);
}

int CString::Insert(int index, const char* text) {
    const CString insertion(text);
    if (insertion.IsEmpty()) return GetLength();
    index = std::clamp(index, 0, GetLength());
    CString result(m_data, index);
    result += insertion;
    result.Concat(m_data + index, GetLength() - index);
    *this = std::move(result);
    return GetLength();
}

int CString::Delete(int index, int count) {
    const int length = GetLength();
    if (index < 0 || index >= length || count <= 0) return length;
    count = std::min(count, length - index);
    CopyBeforeWrite();
    std::memmove(m_data + index, m_data + index + count,
                 static_cast<size_t>(length - index - count) + 1);
    GetHeader()->length = length - count;
    return length - count;
}

void CString::Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::FormatV(const char* format, va_list args) {
    if (!format) {
        Empty();
        return;
    }
    va_list probe;
    va_copy(probe, args);
    const int length = std::vsnprintf(nullptr, 0, format, probe);
    va_end(probe);
    if (length <= 0) {
        Empty();
        return;
    }
    CString result;
    result.AllocBeforeWrite(length);
    std::vsnprintf(result.m_data, static_cast<size_t>(length) + 1, format, args);
    result.GetHeader()->length = length;
    *this = std::move(result);
}

namespace {
template <typename Pred>
int LeadingCount(const char* text, int length, Pred pred) {
    int n = 0;
    while (n < length && pred(text[n])) ++n;
    return n;
}
template <typename Pred>
int TrailingCount(const char* text, int length, Pred pred) {
    int n = 0;
    while (n < length && pred(text[length - 1 - n])) ++n;
    return n;
}
bool InSet(const char* set, char ch) { return ch != 0 && set && std::strchr(set, ch); }
}  // namespace

CString& CString::TrimLeft() {
    Delete(0, LeadingCount(m_data, GetLength(), IsSpace));
    return *this;
}
CString& CString::TrimLeft(char target) {
    Delete(0, LeadingCount(m_data, GetLength(), [&](char c) { return c == target; }));
    return *this;
}
CString& CString::TrimLeft(const char* targets) {
    Delete(0, LeadingCount(m_data, GetLength(), [&](char c) { return InSet(targets, c); }));
    return *this;
}
CString& CString::TrimRight() {
    const int n = TrailingCount(m_data, GetLength(), IsSpace);
    Delete(GetLength() - n, n);
    return *this;
}
CString& CString::TrimRight(char target) {
    const int n = TrailingCount(m_data, GetLength(), [&](char c) { return c == target; });
    Delete(GetLength() - n, n);
    return *this;
}
CString& CString::TrimRight(const char* targets) {
    const int n = TrailingCount(m_data, GetLength(), [&](char c) { return InSet(targets, c); });
    Delete(GetLength() - n, n);
    return *this;
}
CString& CString::Trim() { return TrimRight().TrimLeft(); }
CString& CString::Trim(char target) { return TrimRight(target).TrimLeft(target); }
CString& CString::Trim(const char* targets) { return TrimRight(targets).TrimLeft(targets); }

int CString::Find(char ch, int start) const {
    if (ch == 0 || start < 0 || start >= GetLength()) return -1;
    const char* hit = std::strchr(m_data + start, ch);
    return hit ? static_cast<int>(hit - m_data) : -1;
}

int CString::Find(const char* text, int start) const {
    if (!text || start < 0 || start > GetLength()) return -1;
    const char* hit = std::strstr(m_data + start, text);
    return hit ? static_cast<int>(hit - m_data) : -1;
}

int CString::ReverseFind(char ch) const {
    if (ch == 0) return -1;
    const char* hit = std::strrchr(m_data, ch);
    return hit ? static_cast<int>(hit - m_data) : -1;
}

int CString::FindOneOf(const char* charSet) const {
    if (!charSet || !*charSet) return -1;
    const char* hit = std::strpbrk(m_data, charSet);
    return hit ? static_cast<int>(hit - m_data) : -1;
}

char* CString::GetBuffer(int minLength) {
    minLength = std::max(minLength, 0);
    Header* header = GetHeader();
    if (!header->IsExclusive() || header->capacity < minLength) {
        const int keep = header->length;
        Header* fresh = NewHeader(std::max(minLength, keep));
        std::memcpy(fresh->chars(), m_data, static_cast<size_t>(keep) + 1);
        fresh->length = keep;
        Release();
        m_data = fresh->chars();
    }
    // Until ReleaseBuffer the characters are written behind our back.
    GetHeader()->refs = Header::kLockedRefs;
    return m_data;
}

char* CString::GetBufferSetLength(int length) {
    length = std::max(length, 0);
    GetBuffer(length);
    if (m_data != EmptyChars()) {
        m_data[length] = 0;
        GetHeader()->length = length;
    }
    return m_data;
}

void CString::ReleaseBuffer(int newLength) {
    if (m_data == EmptyChars()) return;
    CopyBeforeWrite();
    Header* header = GetHeader();
    if (newLength < 0) {
        newLength = static_cast<int>(strnlen(m_data, static_cast<size_t>(header->capacity)));
    }
    newLength = std::min(newLength, header->capacity);
    m_data[newLength] = 0;
    header->length = newLength;
    // The buffer is ours alone again; copies may share it from now on.
    header->refs = 1;
    if (newLength == 0) Release();
}

bool CString::LoadString(unsigned id) {
    // With no buffer, LoadStringW hands out the resource itself, whatever its
    // length (string resources hold up to 65535 UTF-16 units).
    const wchar_t* resource = nullptr;
    const int units = ::LoadStringW(AfxGetResourceHandle(), id,
                                    reinterpret_cast<LPWSTR>(&resource), 0);
    if (units <= 0 || !resource) return false;
    const int bytes = ::WideCharToMultiByte(CP_ACP, 0, resource, units, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return false;
    CString text;
    char* buffer = text.GetBufferSetLength(bytes);
    ::WideCharToMultiByte(CP_ACP, 0, resource, units, buffer, bytes, nullptr, nullptr);
    // An embedded NUL ends the text, as everywhere in CString.
    text.ReleaseBuffer(-1);
    *this = std::move(text);
    return true;
}

std::wstring CString::ToWide() const {
    const int length = GetLength();
    if (length == 0) return std::wstring();
    const int wide = MultiByteToWideChar(CP_ACP, 0, m_data, length, nullptr, 0);
    std::wstring result(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(CP_ACP, 0, m_data, length, &result[0], wide);
    return result;
}
