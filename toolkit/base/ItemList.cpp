#include "toolkit/base/ItemList.h"

namespace LumoUtility {
namespace {

std::wstring At(const std::vector<std::wstring>& list, int index) {
  if (list.empty() || index < 0) return std::wstring();
  size_t position = static_cast<size_t>(index);
  return position < list.size() ? list[position] : list.back();
}

}  // namespace

void ItemList::Add(const std::wstring& text, const std::wstring& key) {
  texts.push_back(text);
  keys.push_back(key);
}

std::wstring ItemList::Text(int index) const { return At(texts, index); }
std::wstring ItemList::Key(int index) const { return At(keys, index); }

void ItemList::Erase(int index) {
  if (index < 0 || index >= Count()) return;
  texts.erase(texts.begin() + index);
  keys.erase(keys.begin() + index);
}

}  // namespace LumoUtility
