#include "png/WicPng.h"

#include <objbase.h>
#include <shlwapi.h>
#include <wincodec.h>
#include <windows.h>

#include <vector>

#include "win32/ComPtr.h"

namespace tessaline::png {
namespace {

using win32::ComPtr;

// COM for the length of one call; a thread that already has COM in another model keeps it.
class ComScope {
 public:
  ComScope() : result_(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
  ~ComScope() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }

 private:
  HRESULT result_;
};

bool MakeFactory(ComPtr<IWICImagingFactory>& factory) {
  return SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IWICImagingFactory,
                                    reinterpret_cast<void**>(factory.Put())));
}

// Reads the whole stream from its start.
std::string StreamBytes(IStream* stream) {
  STATSTG stat{};
  if (FAILED(stream->Stat(&stat, STATFLAG_NONAME))) return {};
  LARGE_INTEGER start{};
  if (FAILED(stream->Seek(start, STREAM_SEEK_SET, nullptr))) return {};
  std::string bytes(static_cast<size_t>(stat.cbSize.QuadPart), '\0');
  ULONG read = 0;
  if (!bytes.empty() &&
      (FAILED(stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read)) ||
       read != bytes.size())) {
    return {};
  }
  return bytes;
}

}  // namespace

std::string EncodeRgb(int width, int height, std::string_view rgb) {
  if (width <= 0 || height <= 0 || rgb.size() != size_t(width) * size_t(height) * 3) return {};
  ComScope com;
  ComPtr<IWICImagingFactory> factory;
  if (!MakeFactory(factory)) return {};
  ComPtr<IStream> stream;
  if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.Put()))) return {};
  ComPtr<IWICBitmapEncoder> encoder;
  if (FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Put())) ||
      FAILED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache))) {
    return {};
  }
  ComPtr<IWICBitmapFrameEncode> frame;
  if (FAILED(encoder->CreateNewFrame(frame.Put(), nullptr)) || FAILED(frame->Initialize(nullptr)) ||
      FAILED(frame->SetSize(UINT(width), UINT(height)))) {
    return {};
  }
  // WIC's 24-bit format that a PNG keeps without conversion is blue, green, red.
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  if (FAILED(frame->SetPixelFormat(&format))) return {};
  const UINT stride = UINT(width) * 3;
  std::vector<BYTE> pixels(rgb.begin(), rgb.end());
  for (size_t i = 0; i + 2 < pixels.size(); i += 3) std::swap(pixels[i], pixels[i + 2]);
  if (format != GUID_WICPixelFormat24bppBGR) {
    // The encoder asked for another layout: let WIC convert from ours.
    ComPtr<IWICBitmap> bitmap;
    if (FAILED(factory->CreateBitmapFromMemory(UINT(width), UINT(height),
                                               GUID_WICPixelFormat24bppBGR, stride,
                                               UINT(pixels.size()), pixels.data(), bitmap.Put())) ||
        FAILED(frame->WriteSource(bitmap.Get(), nullptr))) {
      return {};
    }
  } else if (FAILED(frame->WritePixels(UINT(height), stride, UINT(pixels.size()), pixels.data()))) {
    return {};
  }
  if (FAILED(frame->Commit()) || FAILED(encoder->Commit())) return {};
  return StreamBytes(stream.Get());
}

bool DecodeToRgb(std::string_view bytes, RgbPicture& picture) {
  picture = {};
  if (bytes.empty() || bytes.size() > 0x7fffffff) return false;
  ComScope com;
  ComPtr<IWICImagingFactory> factory;
  if (!MakeFactory(factory)) return false;
  ComPtr<IWICStream> stream;
  if (FAILED(factory->CreateStream(stream.Put())) ||
      FAILED(stream->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())),
                                          DWORD(bytes.size())))) {
    return false;
  }
  ComPtr<IWICBitmapDecoder> decoder;
  if (FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnLoad,
                                              decoder.Put()))) {
    return false;
  }
  ComPtr<IWICBitmapFrameDecode> frame;
  if (FAILED(decoder->GetFrame(0, frame.Put()))) return false;
  ComPtr<IWICFormatConverter> converter;
  if (FAILED(factory->CreateFormatConverter(converter.Put())) ||
      FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat24bppBGR,
                                   WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom))) {
    return false;
  }
  UINT width = 0, height = 0;
  if (FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0 || width > 16384 ||
      height > 16384) {
    return false;
  }
  std::string pixels(size_t(width) * height * 3, '\0');
  if (FAILED(converter->CopyPixels(nullptr, width * 3, UINT(pixels.size()),
                                   reinterpret_cast<BYTE*>(pixels.data())))) {
    return false;
  }
  for (size_t i = 0; i + 2 < pixels.size(); i += 3) std::swap(pixels[i], pixels[i + 2]);
  picture.width = int(width);
  picture.height = int(height);
  picture.rgb = std::move(pixels);
  return true;
}

}  // namespace tessaline::png
