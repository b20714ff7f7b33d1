#pragma once
// What the main program hands the skin reader to create the sub-controls of
// its main window (OrvSkinReader::CreateControls). Nothing here is owned by
// the reader.
class CWnd;
class OrvINavigate;
class OrvISearch;
class OrvISearchPath;
class OrvISearchResult;
class OrvISearchPathResult;

struct CreateControls_t {
    CWnd* Parent = nullptr;  // the main window
    OrvISearch* Search = nullptr;
    OrvISearchPath* SearchPath = nullptr;
    OrvISearchResult* SearchResult = nullptr;
    OrvISearchPathResult* SearchPathResult = nullptr;
    OrvINavigate* Navigate = nullptr;
};
