#pragma once
// A picture file handed to a codec through a stream that fails every read once stop is asked:
// a codec that decodes as it reads gives up within one read. Wine's JPEG codec decodes a whole
// photo as the file is opened, a tenth of a second or more, so stopping between the rows this
// module fetches would come too late.

#include <windows.h>
#include <objidl.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <stop_token>
#include <string>

namespace zz {

class StoppableStream;

// The file is closed when this goes, even if a codec still holds the stream: Wine's codecs keep
// a reference to a stream they were handed, and each decoding leaked the file's handle.
class StoppablePictureFile {
public:
    StoppablePictureFile(IWICImagingFactory& factory, const std::wstring& path,
                         std::stop_token stop);
    ~StoppablePictureFile();
    StoppablePictureFile(const StoppablePictureFile&) = delete;
    StoppablePictureFile& operator=(const StoppablePictureFile&) = delete;

    // Null when the file cannot be opened.
    IStream* Stream() const;

private:
    Microsoft::WRL::ComPtr<StoppableStream> m_stream;
};

}  // namespace zz
