#pragma once
// The document: empty. The program's state lives in the settings file, the media folders and
// the view.

namespace zz {

class CZoomzapDoc {
public:
    // Starts the document anew; nothing to reset, so it always succeeds.
    bool OnNewDocument() { return true; }
};

}  // namespace zz
