// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "app/cli/metrics.h"

#include <charconv>

namespace vantric {

namespace {

// Mount points are user bytes: the format wants UTF-8, so a byte that does
// not start a valid sequence becomes U+FFFD.
std::string validUtf8(const std::string& s)
{
    std::string out;
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        bool ok = n > 0 && i + n <= s.size();
        std::uint32_t cp = n == 1 ? c : n == 2 ? c & 0x1f : n == 3 ? c & 0x0f : c & 0x07;
        for (std::size_t k = 1; ok && k < n; ++k) {
            const auto t = static_cast<unsigned char>(s[i + k]);
            ok = (t >> 6) == 2;
            cp = cp << 6 | (t & 0x3f);
        }
        // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
        static constexpr std::uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        ok = ok && cp >= least[n] && cp <= 0x10ffff && (cp < 0xd800 || cp > 0xdfff);
        if (ok) {
            out.append(s, i, n);
            i += n;
        } else {
            out += "\xef\xbf\xbd";
            ++i;
        }
    }
    return out;
}

std::string labelValue(const std::string& s)
{
    std::string out;
    for (char c : validUtf8(s)) {
        if (c == '\\' || c == '"')
            out += '\\';
        if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

} // namespace

std::string shortestText(double v)
{
    char buf[64]; // room for any double
    return std::string(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

std::string prometheusText(const RunMetrics& m)
{
    const std::string labels = "{mountpoint=\"" + labelValue(m.mountPoint) + "\",fstype=\"" + labelValue(m.fsType)
                               + "\",size=\"" + labelValue(m.size) + "\",folder=\"" + labelValue(m.folder) + "\"}";
    std::string text;
    auto gauge = [&](const char* name, const char* help, double value) {
        text.append("# HELP vantric_").append(name).append(" ").append(help).append("\n");
        text.append("# TYPE vantric_").append(name).append(" gauge\n");
        text.append("vantric_").append(name).append(labels).append(" ").append(shortestText(value)).append("\n");
    };
    if (m.record) {
        for (const auto& [pass, p] : {std::pair {"write", m.record->write}, std::pair {"read", m.record->read}}) {
            const std::string name = pass;
            if (p.seconds > 0)
                gauge((name + "_bytes_per_second").c_str(), ("Rate of the last " + name + " pass.").c_str(),
                      static_cast<double>(p.bytes) / p.seconds);
            gauge((name + "_duration_seconds").c_str(), ("Time the last " + name + " pass took.").c_str(),
                  p.seconds);
            gauge((name + "_bytes").c_str(), ("Bytes the last " + name + " pass moved.").c_str(),
                  static_cast<double>(p.bytes));
        }
    }
    gauge("success", "1 when the last test completed, 0 when it failed.", m.record ? 1 : 0);
    gauge("end_timestamp_seconds", "When the last test ended, in seconds since the Unix epoch.", m.endedAt);
    return text;
}

} // namespace vantric
