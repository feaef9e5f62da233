#include "timetools/core/EditFileSystem.h"

namespace pw {

std::uint32_t SettableAttributeWord(std::uint32_t attributes) {
  const std::uint32_t settable = attributes & kSettableAttributes;
  return settable != 0 ? settable : kNormalAttribute;
}

std::uint32_t ChosenAttributeWord(std::uint32_t current, std::uint32_t chosen) {
  return SettableAttributeWord((current & ~kEditedAttributes) | (chosen & kEditedAttributes));
}

}  // namespace pw
