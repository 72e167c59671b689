#include "ui/draw/ole_picture.h"

#include "runtime/dll_binding.h"
#include "runtime/handles.h"

#include <objidl.h>
#include <ocidl.h>
#include <olectl.h>

#include <cstring>

namespace kodaro::ui {

namespace {

using OleLoadPictureFn = HRESULT(WINAPI*)(IStream*, LONG, BOOL, const IID&, void**);

// The picture loader is bound by name on first use, like the other outside libraries.
BoundFunction<OleLoadPictureFn> oleLoadPicture("olepro32.dll", "OleLoadPicture");

constexpr wchar_t kPictureInterface[] = L"{7BF80980-BF32-101A-8BBB-00AA00300CAB}";

// The bytes in a movable global block with a stream over it; the stream does
// not own the block, both go when this does (the stream first).
class ByteStream {
public:
    explicit ByteStream(std::span<const std::uint8_t> bytes)
        : block_(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes.size())) {
        if (!block_) {
            return;
        }
        {
            const GlobalLockGuard lock(block_.get());
            if (lock.data() == nullptr) {
                return;
            }
            std::memcpy(lock.data(), bytes.data(), bytes.size());
        }
        if (FAILED(CreateStreamOnHGlobal(block_.get(), FALSE, stream_.put()))) {
            stream_.reset();
        }
    }

    IStream* get() const { return stream_.get(); }

private:
    UniqueGlobal block_;
    ComPtr<IStream> stream_;
};

} // namespace

HBITMAP BytesToBitmapHandle(std::span<const std::uint8_t> bytes, int width, int height) {
    // The loader takes the length as a LONG.
    if (bytes.empty() || bytes.size() > 0x7FFFFFFF) {
        return nullptr;
    }
    const ByteStream stream(bytes);
    IID pictureInterface{};
    if (stream.get() == nullptr || FAILED(IIDFromString(kPictureInterface, &pictureInterface))) {
        return nullptr;
    }
    ComPtr<IPicture> picture;
    const HRESULT loaded = oleLoadPicture(stream.get(), static_cast<LONG>(bytes.size()), TRUE,
                                          pictureInterface, picture.put_void());
    if (FAILED(loaded) || !picture) {
        return nullptr;
    }
    HBITMAP copy = nullptr;
    OLE_HANDLE handle = 0;
    short type = PICTYPE_UNINITIALIZED;
    // Only a bitmap picture has a bitmap to copy (an icon or metafile does not).
    if (SUCCEEDED(picture->get_Type(&type)) && type == PICTYPE_BITMAP &&
        SUCCEEDED(picture->get_Handle(&handle)) && handle != 0) {
        // GDI handles carry 32 significant bits, sign-extended on 64-bit Windows.
        const auto bitmap = static_cast<HBITMAP>(LongToHandle(static_cast<LONG>(handle)));
        copy = static_cast<HBITMAP>(CopyImage(bitmap, IMAGE_BITMAP, width, height, 0));
    }
    // The picture frees its own bitmap; the copy stays with the caller.
    return copy;
}

} // namespace kodaro::ui
