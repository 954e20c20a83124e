// Script names of keys, and the virtual-key code a typed character produces.
#include "platform/keycodes.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace platform {
namespace {

struct NamedKey {
  const char* name;
  int vk;
  int dik;
};

// DirectInput codes of the letters follow the keyboard's rows, not the alphabet.
constexpr uint8_t kLetterDik[26] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17,
                                    0x24, 0x25, 0x26, 0x32, 0x31, 0x18, 0x19, 0x10, 0x13,
                                    0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};
// F1..F10 are contiguous; F11 and F12 came later and sit elsewhere.
constexpr uint8_t kFunctionDik[12] = {0x3B, 0x3C, 0x3D, 0x3E, 0x3F, 0x40,
                                      0x41, 0x42, 0x43, 0x44, 0x57, 0x58};

constexpr NamedKey kNamedKeys[] = {
    {"UP", vk::Up, dik::Up},
    {"DOWN", vk::Down, dik::Down},
    {"LEFT", vk::Left, dik::Left},
    {"RIGHT", vk::Right, dik::Right},
    {"ESC", vk::Escape, dik::Escape},
    {"ESCAPE", vk::Escape, dik::Escape},
    {"ENTER", vk::Return, dik::Return},
    {"RETURN", vk::Return, dik::Return},
    {"BACKSPACE", vk::Back, dik::Back},
    {"SPACE", vk::Space, dik::Space},
    {"TAB", vk::Tab, 0x0F},
    {"SHIFT", vk::Shift, 0x2A},
    {"CTRL", vk::Control, 0x1D},
};

std::string Upper(const std::string& s) {
  std::string out = s;
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

// Looks a name up as (virtual key, DirectInput code); false when unknown.
bool Lookup(const std::string& raw, int& vk_code, int& dik_code) {
  std::string name = Upper(raw);
  if (name.size() == 1 && name[0] >= 'A' && name[0] <= 'Z') {
    vk_code = name[0];
    dik_code = kLetterDik[name[0] - 'A'];
    return true;
  }
  if (name.size() == 1 && name[0] >= '0' && name[0] <= '9') {
    vk_code = name[0];
    dik_code = name[0] == '0' ? 0x0B : 0x02 + (name[0] - '1');
    return true;
  }
  if (name.size() >= 2 && name.size() <= 3 && name[0] == 'F' &&
      std::isdigit(static_cast<unsigned char>(name[1]))) {
    int n = std::atoi(name.c_str() + 1);
    bool digits_only = name.size() == 2 || std::isdigit(static_cast<unsigned char>(name[2]));
    if (!digits_only || name[1] == '0' || n < 1 || n > 12) return false;
    vk_code = vk::F1 + n - 1;
    dik_code = kFunctionDik[n - 1];
    return true;
  }
  for (const NamedKey& k : kNamedKeys) {
    if (name == k.name) {
      vk_code = k.vk;
      dik_code = k.dik;
      return true;
    }
  }
  return false;
}

}  // namespace

int VirtualKeyByName(const std::string& name) {
  int vk_code = -1, dik_code = -1;
  return Lookup(name, vk_code, dik_code) ? vk_code : -1;
}

int DirectInputCodeByName(const std::string& name) {
  int vk_code = -1, dik_code = -1;
  return Lookup(name, vk_code, dik_code) ? dik_code : -1;
}

int VirtualKeyForChar(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  if (std::isalpha(u) && u < 0x80) return std::toupper(u);
  if (std::isdigit(u)) return u;
  switch (c) {
    case ' ':
      return vk::Space;
    case '\r':
    case '\n':
      return vk::Return;
    case '\b':
      return vk::Back;
    case '\t':
      return vk::Tab;
    case 27:
      return vk::Escape;
    default:
      break;
  }
  // Punctuation of a US keyboard, shifted or not, by the key that types it.
  static constexpr struct {
    const char* chars;
    int vk;
  } kPunctuation[] = {
      {";:", 186}, {"=+", 187},  {",<", 188}, {"-_", 189},  {".>", 190}, {"/?", 191}, {"`~", 192},
      {"[{", 219}, {"\\|", 220}, {"]}", 221}, {"'\"", 222}, {")", '0'},  {"!", '1'},  {"@", '2'},
      {"#", '3'},  {"$", '4'},   {"%", '5'},  {"^", '6'},   {"&", '7'},  {"*", '8'},  {"(", '9'}};
  for (const auto& p : kPunctuation) {
    if (c != '\0' && std::strchr(p.chars, c)) return p.vk;
  }
  return -1;
}

}  // namespace platform
