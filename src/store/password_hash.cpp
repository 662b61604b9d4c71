#include "store/password_hash.h"

#include <sodium.h>

namespace varnel::store {
namespace {

bool sodium_ready() {
  static const bool ready = sodium_init() >= 0;
  return ready;
}

}  // namespace

std::optional<std::string> hash_password(const std::string& password) {
  if (!sodium_ready()) return std::nullopt;
  char out[crypto_pwhash_STRBYTES];
  if (crypto_pwhash_str(out, password.data(), password.size(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                        crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
    return std::nullopt;
  return std::string(out);
}

bool password_matches(const std::string& stored_hash, const std::string& typed) {
  if (!sodium_ready()) return false;
  return crypto_pwhash_str_verify(stored_hash.c_str(), typed.data(), typed.size()) == 0;
}

}  // namespace varnel::store
