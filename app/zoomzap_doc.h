#pragma once
// The document: empty. The program's state lives in the settings file, the media folders and
// the view; the document only remembers which file it was last opened from or saved to.

#include <string>

namespace zz {

class CZoomzapDoc {
public:
    // Starts the document anew, untitled; nothing else to reset, so it always succeeds.
    bool OnNewDocument() {
        m_strPathName.clear();
        return true;
    }

    void SetPathName(const std::string& path) { m_strPathName = path; }
    const std::string& GetPathName() const { return m_strPathName; }

private:
    std::string m_strPathName;
};

}  // namespace zz
