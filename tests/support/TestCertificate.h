#pragma once

// Self-signed certificates for tests of encrypted connections, made with OpenSSL.

#include <filesystem>
#include <string>

namespace pondrel::test {

struct CertificateFiles {
    std::filesystem::path certificate;  // PEM
    std::filesystem::path key;          // PEM, unencrypted
};

// A self-signed certificate (EC P-256) for `ip` (an IP address SAN) valid from `fromDays` to
// `toDays` days from now, written as "<name>.crt" and "<name>.key" into `folder`. False when it
// could not be made.
bool MakeCertificate(const std::filesystem::path& folder, const std::string& name,
                     const std::string& ip, int fromDays, int toDays, CertificateFiles& files);

}  // namespace pondrel::test
