#pragma once
// Where the pieces of one path row go: column 0 the number of steps;
// column 1 the names from the left separated by " * ", and "..." where the
// next name or separator would pass the column's right edge.
#include "ClsPath.h"
#include "OrvCtrlsExport.h"

#include "CString.h"

#include <functional>
#include <vector>

class ORVCTRLS_API ClsPathRowLayout {
public:
    static constexpr const char* kSeparator = " * ";
    static constexpr const char* kEllipsis = "...";

    struct Piece_t {
        enum Kind_e { pkName, pkSeparator, pkEllipsis };
        Kind_e kind = pkName;
        int person = -1;  // the path index of a name
        CString text;
        int x = 0;
        int width = 0;
    };

    // The width of a text in the row's font.
    using Measure = std::function<int(const CString&)>;

    // The text of column 0: the steps of the path as a decimal number.
    static CString StepsText(const ClsPath& path);
    // Lays out column 1 between left and right and stores each drawn
    // name's place in path (names not drawn get none).
    static std::vector<Piece_t> Layout(ClsPath& path, int left, int right, const Measure& measure);
    // Whether a layout was cut (ends in the ellipsis).
    static bool IsCut(const std::vector<Piece_t>& pieces);
};
