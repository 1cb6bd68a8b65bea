#include "net/sha256_hash.h"

#include <bcrypt.h>

Sha256Hash::Sha256Hash()
{
    Reset();
}

Sha256Hash::~Sha256Hash()
{
    Close();
}

void Sha256Hash::Close()
{
    if (hash_)
        BCryptDestroyHash(hash_);
    if (algorithm_)
        BCryptCloseAlgorithmProvider(algorithm_, 0);
    hash_ = nullptr;
    algorithm_ = nullptr;
}

void Sha256Hash::Reset()
{
    Close();
    failed_ = !BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&algorithm_, BCRYPT_SHA256_ALGORITHM, nullptr, 0)) ||
              !BCRYPT_SUCCESS(BCryptCreateHash(algorithm_, &hash_, nullptr, 0, nullptr, 0, 0));
}

bool Sha256Hash::Update(const void* data, size_t size)
{
    const UCHAR* bytes = static_cast<const UCHAR*>(data);
    while (!failed_ && size > 0) {
        ULONG part = size > 0x40000000 ? 0x40000000 : static_cast<ULONG>(size);
        failed_ = !BCRYPT_SUCCESS(BCryptHashData(hash_, const_cast<UCHAR*>(bytes), part, 0));
        bytes += part;
        size -= part;
    }
    return !failed_;
}

std::optional<Sha256Digest> Sha256Hash::Finish()
{
    Sha256Digest digest{};
    bool ok = !failed_ && BCRYPT_SUCCESS(BCryptFinishHash(hash_, digest.data(), static_cast<ULONG>(digest.size()), 0));
    Reset();
    if (!ok)
        return std::nullopt;
    return digest;
}
