#pragma once
#include "FrameworkExport.h"

#include <windows.h>

#include <cstdarg>
#include <string>

// Byte string with copy-on-write sharing. One pointer wide: the characters,
// with a reference count, the length and the capacity stored just ahead of
// them, so a CString can sit in fixed-layout records. The characters are
// always NUL-terminated; copying shares them until one copy is changed.
// Counts and positions are in bytes; out-of-range positions are clamped,
// never undefined.
class FW_API CString {
public:
    CString();
    CString(const CString& other);
    CString(CString&& other) noexcept;
    CString(const char* text);
    CString(const char* text, int length);
    explicit CString(char ch, int repeat = 1);
    // From UTF-16, converted with the system's ANSI code page.
    CString(const wchar_t* text);
    ~CString();

    CString& operator=(const CString& other);
    CString& operator=(CString&& other) noexcept;
    CString& operator=(const char* text);
    CString& operator=(char ch);

    int GetLength() const;
    bool IsEmpty() const { return GetLength() == 0; }
    void Empty();
    char GetAt(int index) const;
    void SetAt(int index, char ch);
    char operator[](int index) const { return GetAt(index); }
    operator const char*() const { return m_data; }
    const char* GetString() const { return m_data; }

    CString& operator+=(const CString& text);
    CString& operator+=(const char* text);
    CString& operator+=(char ch);

    // strcmp order; CompareNoCase folds ASCII letters only, so the order does
    // not depend on the thread's locale.
    int Compare(const char* text) const;
    int CompareNoCase(const char* text) const;

    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Left(int count) const;
    CString Right(int count) const;
    CString SpanIncluding(const char* charSet) const;
    CString SpanExcluding(const char* charSet) const;

    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();

    // Each returns the number of replacements or removals made.
    int Replace(char oldCh, char newCh);
    int Replace(const char* oldText, const char* newText);
    int Remove(char ch);
    // Each returns the new length.
    int Insert(int index, char ch);
    int Insert(int index, const char* text);
    int Delete(int index, int count = 1);

    // printf formatting; a bad format leaves the string empty.
    void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void FormatV(const char* format, va_list args);

    // Whitespace is blank, tab, CR, LF, vertical tab and form feed.
    CString& TrimLeft();
    CString& TrimLeft(char target);
    CString& TrimLeft(const char* targets);
    CString& TrimRight();
    CString& TrimRight(char target);
    CString& TrimRight(const char* targets);
    CString& Trim();
    CString& Trim(char target);
    CString& Trim(const char* targets);

    // Positions are zero-based; -1 when not found.
    int Find(char ch, int start = 0) const;
    int Find(const char* text, int start = 0) const;
    int ReverseFind(char ch) const;
    int FindOneOf(const char* charSet) const;

    // Direct access for APIs that write into a char buffer: GetBuffer makes
    // room for at least minLength characters plus a NUL; ReleaseBuffer takes
    // the length from the first NUL (or newLength) and ends the access. While
    // the access lasts, a copy of the string gets characters of its own
    // (those up to the length before GetBuffer), so writing through the
    // pointer never changes a copy. Until ReleaseBuffer, change the string
    // only through the pointer.
    char* GetBuffer(int minLength);
    char* GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);

    // Loads a string resource of the resource module (AfxGetResourceHandle),
    // whatever its length; false if absent.
    bool LoadString(unsigned id);

    // UTF-16 copy, converted with the system's ANSI code page.
    std::wstring ToWide() const;

    // Bookkeeping stored ahead of the characters; internal to CString.cpp.
    struct Header;

private:
    Header* GetHeader() const;
    void Release();
    void Assign(const char* text, int length);
    void AllocBeforeWrite(int length);
    void CopyBeforeWrite();
    void Concat(const char* text, int length);

    char* m_data;
};

FW_API CString operator+(const CString& a, const CString& b);
FW_API CString operator+(const CString& a, const char* b);
FW_API CString operator+(const char* a, const CString& b);
FW_API CString operator+(const CString& a, char b);
FW_API CString operator+(char a, const CString& b);

inline bool operator==(const CString& a, const CString& b) { return a.Compare(b) == 0; }
inline bool operator==(const CString& a, const char* b) { return a.Compare(b) == 0; }
inline bool operator==(const char* a, const CString& b) { return b.Compare(a) == 0; }
inline bool operator!=(const CString& a, const CString& b) { return a.Compare(b) != 0; }
inline bool operator!=(const CString& a, const char* b) { return a.Compare(b) != 0; }
inline bool operator!=(const char* a, const CString& b) { return b.Compare(a) != 0; }
inline bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
inline bool operator<(const CString& a, const char* b) { return a.Compare(b) < 0; }
inline bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
inline bool operator>(const CString& a, const char* b) { return a.Compare(b) > 0; }
inline bool operator<=(const CString& a, const CString& b) { return a.Compare(b) <= 0; }
inline bool operator>=(const CString& a, const CString& b) { return a.Compare(b) >= 0; }

static_assert(sizeof(void*) != 4 || sizeof(CString) == 4, "CString must be one pointer wide");
