// A page's pictures through the system's image decoders, which read JPEG,
// PNG, GIF and BMP from memory alike.
#include "platform/webrt/nsWebBrowserImpl.h"

#include <wincodec.h>

#include <cstring>
#include <vector>

#include "base/procedural/ProcAddress.h"

namespace webrt {

namespace {

const UINT kPictureSideLimit = 8192;
const UINT64 kPicturePixelLimit = 16u << 20;

template <class T>
struct Released {
    T* p = nullptr;
    ~Released() {
        if (p)
            p->Release();
    }
};

IWICImagingFactory* Factory() {
    static IWICImagingFactory* factory = nullptr;
    static bool tried = false;
    if (!tried) {
        tried = true;
        // COM is loaded with the first page's picture: imported, it cost
        // every start some 7 ms under Wine.
        auto initialize = reinterpret_cast<decltype(&CoInitializeEx)>(KY_SystemProc("OLE32.DLL", "CoInitializeEx"));
        auto create = reinterpret_cast<decltype(&CoCreateInstance)>(KY_SystemProc("OLE32.DLL", "CoCreateInstance"));
        if (!initialize || !create)
            return nullptr;
        // The program's thread may already be in an apartment of either kind: both serve.
        initialize(nullptr, COINIT_APARTMENTTHREADED);
        if (FAILED(create(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                          reinterpret_cast<void**>(&factory))))
            factory = nullptr;
    }
    return factory;
}

}  // namespace

HBITMAP DecodePicture(const std::string& bytes, SIZE& size) {
    size = SIZE{0, 0};
    IWICImagingFactory* factory = Factory();
    if (!factory || bytes.empty() || bytes.size() > 0x7FFFFFFF)
        return nullptr;
    Released<IWICStream> stream;
    Released<IWICBitmapDecoder> decoder;
    Released<IWICBitmapFrameDecode> frame;
    Released<IWICFormatConverter> converter;
    if (FAILED(factory->CreateStream(&stream.p)) ||
        FAILED(stream.p->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())),
                                              static_cast<DWORD>(bytes.size()))) ||
        FAILED(factory->CreateDecoderFromStream(stream.p, nullptr, WICDecodeMetadataCacheOnDemand, &decoder.p)) ||
        FAILED(decoder.p->GetFrame(0, &frame.p)) || FAILED(factory->CreateFormatConverter(&converter.p)) ||
        FAILED(converter.p->Initialize(frame.p, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0,
                                       WICBitmapPaletteTypeCustom)))
        return nullptr;
    UINT width = 0, height = 0;
    if (FAILED(converter.p->GetSize(&width, &height)) || !width || !height || width > kPictureSideLimit ||
        height > kPictureSideLimit || UINT64(width) * height > kPicturePixelLimit)
        return nullptr;
    std::vector<BYTE> pixels(size_t(width) * height * 4);
    if (FAILED(converter.p->CopyPixels(nullptr, width * 4, static_cast<UINT>(pixels.size()), pixels.data())))
        return nullptr;
    // Transparent parts show the page's white.
    for (size_t i = 0; i < pixels.size(); i += 4) {
        unsigned alpha = pixels[i + 3];
        for (int c = 0; c < 3; ++c)
            pixels[i + c] = static_cast<BYTE>((pixels[i + c] * alpha + 255 * (255 - alpha)) / 255);
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = static_cast<LONG>(width);
    info.bmiHeader.biHeight = -static_cast<LONG>(height);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) {
        if (bitmap)
            DeleteObject(bitmap);
        return nullptr;
    }
    std::memcpy(bits, pixels.data(), pixels.size());
    size = SIZE{static_cast<LONG>(width), static_cast<LONG>(height)};
    return bitmap;
}

}  // namespace webrt
