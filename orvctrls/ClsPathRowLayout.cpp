#include "ClsPathRowLayout.h"

CString ClsPathRowLayout::StepsText(const ClsPath& path) {
    CString text;
    text.Format("%d", path.GetSteps());
    return text;
}

std::vector<ClsPathRowLayout::Piece_t> ClsPathRowLayout::Layout(ClsPath& path, int left, int right,
                                                                 const Measure& measure) {
    std::vector<Piece_t> pieces;
    path.ClearPlaces();
    int x = left;
    auto place = [&](Piece_t::Kind_e kind, int person, const CString& text) {
        Piece_t piece;
        piece.kind = kind;
        piece.person = person;
        piece.text = text;
        piece.x = x;
        piece.width = measure ? measure(text) : 0;
        if (kind != Piece_t::pkEllipsis && x + piece.width > right) return false;
        pieces.push_back(piece);
        x += piece.width;
        return true;
    };
    for (int i = 0; i < path.GetCount(); ++i) {
        ClsContactInfo* person = path.GetAt(i);
        const bool fits = (i == 0 || place(Piece_t::pkSeparator, -1, kSeparator)) &&
                          place(Piece_t::pkName, i, person->GetDisplayName());
        if (!fits) {
            place(Piece_t::pkEllipsis, -1, kEllipsis);
            break;
        }
        person->SetTextX(pieces.back().x);
        person->SetTextWidth(pieces.back().width);
    }
    return pieces;
}

bool ClsPathRowLayout::IsCut(const std::vector<Piece_t>& pieces) {
    return !pieces.empty() && pieces.back().kind == Piece_t::pkEllipsis;
}
