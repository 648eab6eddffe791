#include "RegistrySnapshot.h"

#include <gtest/gtest.h>

#include "win32/Handles.h"

namespace tessaline::testing {
namespace {

void ReadInto(HKEY key, RegistryKeyImage& image) {
  wchar_t name[16384];
  for (DWORD i = 0;; ++i) {
    DWORD nameLength = 16384;
    DWORD type = 0;
    DWORD size = 0;
    if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
      break;
    }
    std::string bytes(size, '\0');
    nameLength = 16384;
    RegEnumValueW(key, i, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()),
                  &size);
    bytes.resize(size);
    image.values[std::wstring(name, nameLength)] = RegistryValue{type, bytes};
  }
  for (DWORD i = 0;; ++i) {
    DWORD nameLength = 256;
    if (RegEnumKeyExW(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      break;
    }
    const std::wstring subName(name, nameLength);
    win32::RegKey sub;
    if (sub.Open(key, subName.c_str(), KEY_READ) == ERROR_SUCCESS) {
      ReadInto(sub.Get(), image.subkeys[subName]);
    }
  }
}

void WriteFrom(HKEY root, const std::wstring& path, const RegistryKeyImage& image) {
  win32::RegKey key;
  if (key.Create(root, path.c_str()) != ERROR_SUCCESS) {
    ADD_FAILURE() << "cannot restore registry key";
    return;
  }
  for (const auto& [name, value] : image.values) {
    RegSetValueExW(key.Get(), name.c_str(), 0, value.type,
                   reinterpret_cast<const BYTE*>(value.bytes.data()),
                   static_cast<DWORD>(value.bytes.size()));
  }
  key.Close();
  for (const auto& [name, sub] : image.subkeys) WriteFrom(root, path + L"\\" + name, sub);
}

}  // namespace

std::optional<RegistryKeyImage> ReadRegistryKey(HKEY root, const std::wstring& path) {
  win32::RegKey key;
  if (key.Open(root, path.c_str(), KEY_READ) != ERROR_SUCCESS) return std::nullopt;
  RegistryKeyImage image;
  ReadInto(key.Get(), image);
  return image;
}

std::optional<RegistryValue> ReadRegistryValue(HKEY root, const std::wstring& path,
                                               const std::wstring& name) {
  const auto image = ReadRegistryKey(root, path);
  if (!image) return std::nullopt;
  const auto it = image->values.find(name);
  if (it == image->values.end()) return std::nullopt;
  return it->second;
}

void WriteRegistryValue(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type,
                        const std::string& bytes) {
  win32::RegKey key;
  ASSERT_EQ(key.Create(root, path.c_str(), KEY_SET_VALUE), ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueExW(key.Get(), name.c_str(), 0, type,
                           reinterpret_cast<const BYTE*>(bytes.data()),
                           static_cast<DWORD>(bytes.size())),
            ERROR_SUCCESS);
}

std::string TextBytes(const std::wstring& text, bool withTerminator) {
  std::string bytes;
  for (wchar_t ch : text) {
    bytes += static_cast<char>(ch & 0xFF);
    bytes += static_cast<char>((ch >> 8) & 0xFF);
  }
  if (withTerminator) bytes.append(2, '\0');
  return bytes;
}

std::string NumberBytes(DWORD value) {
  return std::string{static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF),
                     static_cast<char>((value >> 16) & 0xFF), static_cast<char>(value >> 24)};
}

bool DeleteRegistryKey(HKEY root, const std::wstring& path) {
  RegDeleteTreeW(root, path.c_str());
  RegDeleteKeyW(root, path.c_str());
  win32::RegKey key;
  return key.Open(root, path.c_str(), KEY_READ) != ERROR_SUCCESS;
}

RegistrySnapshot::RegistrySnapshot(HKEY root, std::wstring path)
    : root_(root), path_(std::move(path)), saved_(ReadRegistryKey(root_, path_)) {}

RegistrySnapshot::~RegistrySnapshot() {
  EXPECT_TRUE(DeleteRegistryKey(root_, path_));
  if (saved_) WriteFrom(root_, path_, *saved_);
  EXPECT_EQ(ReadRegistryKey(root_, path_), saved_) << "registry key not restored";
}

void RegistrySnapshot::MakeEmpty() {
  ASSERT_TRUE(DeleteRegistryKey(root_, path_));
  WriteFrom(root_, path_, RegistryKeyImage{});
}

void RegistrySnapshot::Remove() { ASSERT_TRUE(DeleteRegistryKey(root_, path_)); }

}  // namespace tessaline::testing
