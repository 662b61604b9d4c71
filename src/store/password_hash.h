#pragma once
// Operator passwords are kept as salted Argon2id hashes; the comparison stays exact (case and spaces
// count), since the hash is taken over the bytes as typed.

#include <optional>
#include <string>

namespace varnel::store {

std::optional<std::string> hash_password(const std::string& password);
bool password_matches(const std::string& stored_hash, const std::string& typed);

}  // namespace varnel::store
