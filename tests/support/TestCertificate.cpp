#include "TestCertificate.h"

#include <cstdio>
#include <memory>

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

namespace pondrel::test {

namespace {

bool AddExtension(X509* cert, int nid, const char* value) {
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, cert, cert, nullptr, nullptr, 0);
    X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value);
    if (!extension) return false;
    bool added = X509_add_ext(cert, extension, -1) == 1;
    X509_EXTENSION_free(extension);
    return added;
}

}  // namespace

bool MakeCertificate(const std::filesystem::path& folder, const std::string& name,
                     const std::string& ip, int fromDays, int toDays, CertificateFiles& files) {
    std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> key(EVP_EC_gen("P-256"), EVP_PKEY_free);
    std::unique_ptr<X509, decltype(&X509_free)> cert(X509_new(), X509_free);
    if (!key || !cert) return false;
    X509_set_version(cert.get(), 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), 1);
    X509_gmtime_adj(X509_getm_notBefore(cert.get()), 86400L * fromDays);
    X509_gmtime_adj(X509_getm_notAfter(cert.get()), 86400L * toDays);
    X509_set_pubkey(cert.get(), key.get());
    X509_NAME* subject = X509_get_subject_name(cert.get());
    X509_NAME_add_entry_by_txt(subject, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>("Ward test server"), -1, -1,
                               0);
    X509_set_issuer_name(cert.get(), subject);
    std::string san = "IP:" + ip;
    if (!AddExtension(cert.get(), NID_basic_constraints, "critical,CA:TRUE") ||
        !AddExtension(cert.get(), NID_subject_alt_name, san.c_str()) ||
        X509_sign(cert.get(), key.get(), EVP_sha256()) == 0) {
        return false;
    }
    files.certificate = folder / (name + ".crt");
    files.key = folder / (name + ".key");
    std::FILE* out = std::fopen(files.certificate.c_str(), "w");
    if (!out) return false;
    bool written = PEM_write_X509(out, cert.get()) == 1;
    written = std::fclose(out) == 0 && written;
    out = std::fopen(files.key.c_str(), "w");
    if (!out) return false;
    written =
        PEM_write_PrivateKey(out, key.get(), nullptr, nullptr, 0, nullptr, nullptr) == 1 && written;
    return std::fclose(out) == 0 && written;
}

}  // namespace pondrel::test
