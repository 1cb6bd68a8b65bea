// HashingFile (HashingStream): a download file (stream) that adds every byte written to a running
// SHA-256, so the digest of a download is ready the moment its last block
// is written. Blocks arrive in order at the file's end (the transfer's
// staging writes them so); only bytes the file accepted are hashed.
#pragma once

#include "net/sha256_hash.h"
#include "net/transfer_targets.h"

class HashingFile : public IDownloadFile {
public:
    HashingFile(IDownloadFile& file, Sha256Hash& hash) : file_(file), hash_(hash) {}

    bool Seek(uint64_t offset) override { return file_.Seek(offset); }
    bool Write(const void* data, size_t size) override
    {
        if (!file_.Write(data, size))
            return false;
        hash_.Update(data, size);
        return true;
    }
    bool Flush() override { return file_.Flush(); }

private:
    IDownloadFile& file_;
    Sha256Hash& hash_;
};

// The same for a stream: every byte appended is added to the hash.
class HashingStream : public IByteStream {
public:
    HashingStream(IByteStream& stream, Sha256Hash& hash) : stream_(stream), hash_(hash) {}

    bool Append(const void* data, size_t size) override
    {
        if (!stream_.Append(data, size))
            return false;
        hash_.Update(data, size);
        return true;
    }

private:
    IByteStream& stream_;
    Sha256Hash& hash_;
};
