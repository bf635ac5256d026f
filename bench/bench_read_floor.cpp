// Floors of reading, in a fresh process:
//
//   bench_read_floor FILE...          open, one read, close, for every file named: what
//                                     kxt grade is measured against
//   bench_read_floor --sha256 FILE    the file read in pieces of 2 MB and hashed with
//                                     libcrypto: the least kxt info can do for its pictures
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <openssl/evp.h>
#include <unistd.h>
#include <vector>

namespace {

int sha256(const char* path) {
    const int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        std::perror(path);
        return 1;
    }
    std::vector<unsigned char> piece(2 * 1000 * 1000);
    EVP_MD_CTX* context = EVP_MD_CTX_new();
    EVP_DigestInit_ex(context, EVP_sha256(), nullptr);
    ssize_t got;
    while ((got = read(fd, piece.data(), piece.size())) > 0)
        EVP_DigestUpdate(context, piece.data(), static_cast<size_t>(got));
    close(fd);
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_DigestFinal_ex(context, digest, &length);
    EVP_MD_CTX_free(context);
    std::printf("%02x...\n", digest[0]);
    return got < 0 ? 1 : 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--sha256") == 0)
        return sha256(argv[2]);
    static char buffer[64 * 1024];
    long long total = 0;
    for (int i = 1; i < argc; ++i) {
        const int fd = open(argv[i], O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            std::perror(argv[i]);
            return 1;
        }
        const ssize_t got = read(fd, buffer, sizeof buffer);
        close(fd);
        if (got < 0) {
            std::perror(argv[i]);
            return 1;
        }
        total += got;
    }
    std::printf("%lld\n", total);
    return 0;
}
