// JPEG, GIF and BMP files through the platform's picture loader.
#include <windows.h>

#include <ocidl.h>
#include <olectl.h>

#include <climits>

#include "image/image_loader.h"
#include "image/scoped_handles.h"

bool decodePicture(DIB& target, HGLOBAL block, size_t size) {
    if (block == nullptr || size == 0 || size > LONG_MAX || size > GlobalSize(block)) return false;
    // Declared first, so every interface below is released before COM ends.
    ScopedComApartment com;

    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(block, FALSE, &stream))) return false;
    ScopedComRef<IStream> streamRef(stream);
    IPicture* loaded = nullptr;
    const HRESULT result = OleLoadPicture(stream, static_cast<LONG>(size), TRUE, IID_IPicture,
                                          reinterpret_cast<void**>(&loaded));
    streamRef.reset();
    if (FAILED(result) || loaded == nullptr) return false;
    ScopedComRef<IPicture> picture(loaded);

    // Metafiles and icons are not images we can edit.
    SHORT type = PICTYPE_UNINITIALIZED;
    if (FAILED(picture->get_Type(&type)) || type != PICTYPE_BITMAP) return false;
    OLE_HANDLE handle = 0;
    if (FAILED(picture->get_Handle(&handle)) || handle == 0) return false;
    // GDI handles are 32-bit values, sign-extended on 64-bit Windows.
    HBITMAP bitmap = static_cast<HBITMAP>(LongToHandle(static_cast<LONG>(handle)));
    return loadFromBitmapHandle(target, bitmap);
}
