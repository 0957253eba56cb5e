#include "names/packed_names.h"

#include <bit>
#include <cstring>

#include <QString>

#include "platform/failure.h"

namespace names {

namespace {

constexpr std::size_t kWeightBytes = 8;

void appendWeight(QByteArray& bytes, double weight) {
    std::uint64_t bits = std::bit_cast<std::uint64_t>(weight);
    for (std::size_t i = 0; i < kWeightBytes; ++i, bits >>= 8)
        bytes.append(static_cast<char>(bits & 0xff));
}

// A weight from its little-endian bytes, on a machine of either order.
double weightAt(const char* bytes) {
    std::uint64_t bits = 0;
    for (std::size_t i = kWeightBytes; i-- > 0;)
        bits = (bits << 8) | static_cast<unsigned char>(bytes[i]);
    return std::bit_cast<double>(bits);
}

}  // namespace

void PackedNames::append(std::string_view name, double weight) {
    text.append(name);
    offsets.push_back(static_cast<std::uint32_t>(text.size()));
    weights.push_back(weight);
}

PackedBytes packedBytes(const QList<ListedName>& list) {
    return packedBytes(packed(list));
}

PackedBytes packedBytes(const PackedNames& list) {
    PackedBytes bytes;
    bytes.weights.reserve(static_cast<qsizetype>(list.size() * kWeightBytes));
    for (std::uint32_t i = 0; i < list.size(); ++i) {
        if (i > 0) bytes.names.append('\n');
        const std::string_view name = list.at(i);
        bytes.names.append(name.data(), static_cast<qsizetype>(name.size()));
        appendWeight(bytes.weights, list.weights[i] > 0 ? list.weights[i] : 0);
    }
    return bytes;
}

PackedNames unpacked(std::string_view names, std::string_view weights) {
    PackedNames list;
    if (weights.size() % kWeightBytes != 0)
        throw platform::Failure(QStringLiteral("A packed list's weights are cut short"));
    const std::size_t count = weights.size() / kWeightBytes;
    if (count == 0) {
        if (!names.empty())
            throw platform::Failure(QStringLiteral("A packed list has names but no weights"));
        return list;
    }
    list.text.reserve(names.size() + 1 - count + kTextSpare);
    list.offsets.reserve(count + 1);
    for (std::size_t at = 0;;) {
        const std::size_t end = std::min(names.find('\n', at), names.size());
        list.text.append(names.substr(at, end - at));
        list.offsets.push_back(static_cast<std::uint32_t>(list.text.size()));
        if (end == names.size()) break;
        at = end + 1;
    }
    if (list.size() != count)
        throw platform::Failure(QStringLiteral("A packed list has %1 names but %2 weights")
                                    .arg(list.size())
                                    .arg(count));
    list.weights.resize(count);
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(list.weights.data(), weights.data(), count * kWeightBytes);  // as stored
    } else {
        for (std::size_t i = 0; i < count; ++i)
            list.weights[i] = weightAt(weights.data() + i * kWeightBytes);
    }
    return list;
}

PackedNames packed(const QList<ListedName>& list) {
    PackedNames names;
    for (const ListedName& listed : list)
        names.append(listed.name.toUtf8().toStdString(), listed.weight > 0 ? listed.weight : 0);
    return names;
}

PackedOrigin packed(const OriginEntry& entry) {
    PackedOrigin origin{entry.origin};
    for (std::size_t i = 0; i < kOriginListCount; ++i) {
        origin.lists[i] = packed(entry.lists[i]);
        origin.weightedLists[i] = packed(entry.weightedLists[i]);
    }
    origin.birthsByDecade = entry.birthsByDecade;
    return origin;
}

}  // namespace names
