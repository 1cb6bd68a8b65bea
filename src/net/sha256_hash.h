// Sha256Hash: a running SHA-256 over the bytes of a download as they are
// written (the platform's CNG provider), so a file is checked without
// being read a second time.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>

#include "base/sha256_digest.h"

class Sha256Hash {
public:
    Sha256Hash();
    ~Sha256Hash();
    Sha256Hash(const Sha256Hash&) = delete;
    Sha256Hash& operator=(const Sha256Hash&) = delete;

    // Starts again from no bytes.
    void Reset();
    // Adds bytes; false when the provider refused (the digest is then nullopt).
    bool Update(const void* data, size_t size);
    // The digest of every byte added since the last Reset; the hash starts
    // again afterwards. nullopt when the provider failed at any step.
    std::optional<Sha256Digest> Finish();

private:
    void Close();

    void* algorithm_ = nullptr;  // BCRYPT_ALG_HANDLE
    void* hash_ = nullptr;       // BCRYPT_HASH_HANDLE
    bool failed_ = false;
};
