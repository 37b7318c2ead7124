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

// Null when the file cannot be opened.
Microsoft::WRL::ComPtr<IStream> OpenStoppableStream(IWICImagingFactory& factory,
                                                    const std::wstring& path, std::stop_token stop);

}  // namespace zz
