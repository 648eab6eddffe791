// A registry key as it was, put back when the test ends: its values and subkeys, or its absence.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tessaline::testing {

struct RegistryValue {
  DWORD type = 0;
  std::string bytes;
  bool operator==(const RegistryValue&) const = default;
};

struct RegistryKeyImage {
  std::map<std::wstring, RegistryValue> values;
  std::map<std::wstring, RegistryKeyImage> subkeys;
  bool operator==(const RegistryKeyImage&) const = default;
};

// The whole key, or nothing when it does not open.
std::optional<RegistryKeyImage> ReadRegistryKey(HKEY root, const std::wstring& path);

// One value, or nothing when it cannot be read.
std::optional<RegistryValue> ReadRegistryValue(HKEY root, const std::wstring& path,
                                               const std::wstring& name);

void WriteRegistryValue(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type,
                        const std::string& bytes);
std::string TextBytes(const std::wstring& text, bool withTerminator = true);
std::string NumberBytes(DWORD value);

// Removes the key and everything under it; true when it is gone.
bool DeleteRegistryKey(HKEY root, const std::wstring& path);

// Takes the key as it is at construction and restores exactly that at destruction.
class RegistrySnapshot {
 public:
  RegistrySnapshot(HKEY root, std::wstring path);
  ~RegistrySnapshot();
  RegistrySnapshot(const RegistrySnapshot&) = delete;
  RegistrySnapshot& operator=(const RegistrySnapshot&) = delete;

  // Empties the key (creating it when absent), so that a test starts from no values.
  void MakeEmpty();
  // Removes the key.
  void Remove();

 private:
  HKEY root_;
  std::wstring path_;
  std::optional<RegistryKeyImage> saved_;
};

}  // namespace tessaline::testing
