#include "view/win32/stoppable_stream.h"

#include <atomic>
#include <utility>

namespace zz {

using Microsoft::WRL::ComPtr;

// Reads and seeks go to the file's own stream; nothing is ever written.
class StoppableStream final : public IStream {
public:
    StoppableStream(ComPtr<IStream> file, std::stop_token stop)
        : m_file(std::move(file)), m_stop(std::move(stop)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
        if (out == nullptr) {
            return E_POINTER;
        }
        if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_ISequentialStream) ||
            IsEqualIID(id, IID_IStream)) {
            *out = static_cast<IStream*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --m_references;
        if (left == 0) {
            delete this;
        }
        return left;
    }

    // Reads, seeks and the file's size fail from here on.
    void CloseFile() { m_file.Reset(); }

    HRESULT STDMETHODCALLTYPE Read(void* bytes, ULONG size, ULONG* read) override {
        if (m_stop.stop_requested() || !m_file) {
            if (read != nullptr) {
                *read = 0;
            }
            return E_ABORT;
        }
        return m_file->Read(bytes, size, read);
    }
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin,
                                   ULARGE_INTEGER* position) override {
        return m_file ? m_file->Seek(move, origin, position) : STG_E_REVERTED;
    }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD flags) override {
        return m_file ? m_file->Stat(stat, flags) : STG_E_REVERTED;
    }

    HRESULT STDMETHODCALLTYPE Write(const void*, ULONG, ULONG*) override {
        return STG_E_ACCESSDENIED;
    }
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER) override { return STG_E_ACCESSDENIED; }
    HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*,
                                     ULARGE_INTEGER*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Revert() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
        return STG_E_INVALIDFUNCTION;
    }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
        return STG_E_INVALIDFUNCTION;
    }
    HRESULT STDMETHODCALLTYPE Clone(IStream** clone) override {
        if (clone != nullptr) {
            *clone = nullptr;
        }
        return E_NOTIMPL;
    }

private:
    ~StoppableStream() = default;

    std::atomic<ULONG> m_references{1};
    ComPtr<IStream> m_file;
    std::stop_token m_stop;
};

StoppablePictureFile::StoppablePictureFile(IWICImagingFactory& factory, const std::wstring& path,
                                           std::stop_token stop) {
    ComPtr<IWICStream> file;
    if (SUCCEEDED(factory.CreateStream(&file)) &&
        SUCCEEDED(file->InitializeFromFilename(path.c_str(), GENERIC_READ))) {
        m_stream.Attach(new StoppableStream(std::move(file), std::move(stop)));
    }
}

StoppablePictureFile::~StoppablePictureFile() {
    if (m_stream) {
        m_stream->CloseFile();
    }
}

IStream* StoppablePictureFile::Stream() const {
    return m_stream.Get();
}

}  // namespace zz
