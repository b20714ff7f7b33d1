#pragma once
// The chat text view over the Rich Edit 2.0 control: chat lines with the
// sender's name in the sender's colour, system lines in italic red or blue,
// and smileys shown as pictures inside the text. The same class serves as
// the input of a chat, where smileys are inserted at the caret and read
// back as their codes.
#include "ControlsExport.h"

#include "CRichEditCtrl.h"
#include "CString.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

class ClsBitMap;

// The kinds of text of a chat view, each with its attributes.
enum TypeOfText_t : int32_t {
    ttMessage = 0,      // the text of a line: black, regular
    ttSender = 1,       // "name: " before a line: bold, in the sender's chat colour
    ttSystemError = 2,  // a notice (invitation, away, left, closed, errors): italic red
    ttSystemInfo = 3,   // a welcome or entering line: italic blue
};

class CTL_API ClsRichEdit : public CRichEditCtrl {
public:
    // The twelve chat colours by code: "0123456789AB".
    static const int kChatColorCount = 12;
    // Received lines longer than this are cut; the text kept is bounded
    // (the oldest lines go first).
    static const int kMaxLineLength = 4096;
    static const long kDefaultHistoryLimit = 128 * 1024;

    ClsRichEdit();
    ~ClsRichEdit() override;

    using CRichEditCtrl::Create;
    // A visible child rich edit at place with a vertical scroll bar: the
    // read-only history of a chat, or (readOnly false) its input. White
    // background, Arial text.
    bool Create(CWnd* parent, UINT id, const RECT& place, bool readOnly);

    // The colour of a chat colour code; black for any other character.
    static COLORREF GetChatColor(char code);
    // The code of colour index 0..11; "0" for any other index.
    static char GetChatColorCode(int index);
    // The attributes of a kind of text (color is the sender's, for ttSender).
    static CHARFORMAT2A FormatOf(TypeOfText_t type, COLORREF color = 0);
    // Gives the insertion point the attributes of a kind of text.
    void SetTextAttributes(TypeOfText_t type, COLORREF color = 0);

    // Smileys: a text code and its picture (copied; magenta shows the
    // background). Codes of two characters beginning with ':' or ';' are
    // also recognised with a '-' between the two; codes in parentheses
    // also in lower case. False for an empty code or no picture.
    bool AddSmiley(const char* code, HBITMAP picture);
    void RemoveSmileys();
    int GetSmileyCount() const { return static_cast<int>(m_smileys.size()); }
    const char* GetSmileyCode(int index) const;

    // Appends a line: "sender: " bold in the colour of colorCode, then text
    // in black with its smiley codes shown as pictures. The view follows
    // the end only when it showed the end before; the reader's selection
    // stays.
    void AddSentence(const char* sender, char colorCode, const char* text);
    // Appends text on a line of its own, italic, red (ttSystemError) or
    // blue (ttSystemInfo; other types count as that).
    void AddSystemMessage(const char* text, TypeOfText_t type);
    void ScrollToEnd();
    // True when the last line is in view.
    bool IsAtEnd() const;
    void SetHistoryLimit(long characters);
    long GetHistoryLimit() const { return m_historyLimit; }

    // Inserts smiley index at the caret as a picture; when the picture
    // cannot be embedded its code goes in as text (false then).
    bool InsertSmiley(int index);
    // The text with every embedded smiley as its code, lines ended by CR LF.
    CString GetTextWithSmileyCodes() const;
    // The pictures embedded in the text.
    int GetObjectCount() const;

    const char* GetRuntimeClassName() const override;

private:
    struct Smiley {
        CString code;
        std::unique_ptr<ClsBitMap> picture;
    };

    // Appends text at the end in format; keeps the reader's view and
    // selection unless the view followed the end.
    void AppendFormatted(const char* text, const CHARFORMAT2A& format);
    void AppendWithSmileys(const char* text, const CHARFORMAT2A& format);
    // The smiley whose code (or a variant) starts text, and its length.
    int MatchSmiley(const char* text, int* length) const;
    bool InsertPicture(const ClsBitMap& picture, DWORD user);
    void TrimHistory(long incoming);
    void MoveToEnd();

    std::vector<Smiley> m_smileys;
    long m_historyLimit = kDefaultHistoryLimit;
};
