// SPDX-License-Identifier: GPL-3.0-or-later
// The display adapters and mice that /sys describes, as keys of the device list.
#include "platform/system/system_facts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace kavi {

namespace {

QString linkName(const QString& link) { return QFileInfo(QFileInfo(link).canonicalFilePath()).fileName(); }

// The vendor's name for a PCI vendor number ("0x8086") from a pci.ids file, or empty.
QString pciVendorName(const QString& pciIds, const QString& vendor) {
    QString id = vendor.toLower();
    if (id.startsWith(QLatin1String("0x"))) id = id.mid(2);
    if (id.size() != 4) return {};
    QFile f(pciIds);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    const QByteArray prefix = id.toLatin1() + "  ";
    while (!f.atEnd()) {
        const QByteArray line = f.readLine();
        if (line.startsWith(prefix)) return QString::fromUtf8(line.mid(6)).trimmed();
    }
    return {};
}

// The maker of a device: the first "manufacturer" text or PCI vendor found from the device up.
QString makerOf(const QString& sysRoot, const QString& pciIds, QString dev) {
    const QString devicesRoot = QFileInfo(sysRoot + QStringLiteral("/devices")).canonicalFilePath();
    while (!dev.isEmpty() && !devicesRoot.isEmpty() && dev.startsWith(devicesRoot + QLatin1Char('/'))) {
        const QString maker = readSmallTextFile(dev + QStringLiteral("/manufacturer"));
        if (!maker.isEmpty()) return maker;
        if (linkName(dev + QStringLiteral("/subsystem")) == QLatin1String("pci")) {
            const QString vendor = readSmallTextFile(dev + QStringLiteral("/vendor"));
            const QString name = pciVendorName(pciIds, vendor);
            return name.isEmpty() ? vendor : name;
        }
        dev = QFileInfo(dev).path();
    }
    return {};
}

// Adds one device as "Enum\<bus>\<name>" with its class, driver and maker.
void addDevice(DeviceKeyTree& tree, const QString& sysRoot, const QString& pciIds, const QString& dev,
               const QString& deviceClass, const QString& fallbackDescription) {
    QString bus = linkName(dev + QStringLiteral("/subsystem"));
    if (bus.isEmpty()) bus = QStringLiteral("unknown");
    QString description = linkName(dev + QStringLiteral("/driver"));
    if (description.isEmpty()) description = fallbackDescription;
    tree.addKey(QStringLiteral("Enum\\") + bus + QLatin1Char('\\') + QFileInfo(dev).fileName(),
                {{QStringLiteral("Class"), DeviceKeyTree::text(deviceClass)},
                 {QStringLiteral("DeviceDesc"), DeviceKeyTree::text(description)},
                 {QStringLiteral("Mfg"), DeviceKeyTree::text(makerOf(sysRoot, pciIds, dev))}});
}

// Entries of a /sys class folder whose names match the pattern, in name order.
QStringList classMembers(const QString& sysRoot, const QString& cls, const QString& pattern) {
    const QRegularExpression re(QStringLiteral("^") + pattern + QStringLiteral("$"));
    QStringList members;
    const QDir dir(sysRoot + QStringLiteral("/class/") + cls);
    for (const QString& name : dir.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name))
        if (re.match(name).hasMatch()) members.append(dir.filePath(name));
    return members;
}

// The input device (inputN) behind each mouse handler (mouseN).
QStringList mouseInputs(const QString& sysRoot) {
    QStringList inputs;
    for (const QString& mouse : classMembers(sysRoot, QStringLiteral("input"), QStringLiteral("mouse\\d+"))) {
        const QString input = QFileInfo(mouse + QStringLiteral("/device")).canonicalFilePath();
        if (!input.isEmpty()) inputs.append(input);
    }
    return inputs;
}

} // namespace

DeviceKeyTree readDeviceTree(const QString& sysRoot, const QString& pciIds) {
    DeviceKeyTree tree;
    tree.addKey(QStringLiteral("Enum"));
    QStringList adapters;
    for (const QString& card : classMembers(sysRoot, QStringLiteral("drm"), QStringLiteral("card\\d+")))
        adapters.append(QFileInfo(card + QStringLiteral("/device")).canonicalFilePath());
    for (const QString& fb : classMembers(sysRoot, QStringLiteral("graphics"), QStringLiteral("fb\\d+")))
        adapters.append(QFileInfo(fb + QStringLiteral("/device")).canonicalFilePath());
    adapters.removeAll(QString());
    adapters.removeDuplicates();
    for (const QString& dev : adapters) addDevice(tree, sysRoot, pciIds, dev, QStringLiteral("DISPLAY"), {});

    for (const QString& input : mouseInputs(sysRoot)) {
        const QString name = readSmallTextFile(input + QStringLiteral("/name"));
        const QString parent = QFileInfo(input + QStringLiteral("/device")).canonicalFilePath();
        addDevice(tree, sysRoot, pciIds, parent.isEmpty() ? input : parent, QStringLiteral("Mouse"), name);
    }
    return tree;
}

int countMouseButtons(const QString& sysRoot) {
    constexpr int kFirstButton = 0x110; // BTN_LEFT; BTN_RIGHT, BTN_MIDDLE, ... BTN_TASK follow
    constexpr int kButtonCount = 8;
    constexpr int kWordBits = int(sizeof(unsigned long) * 8);
    const QStringList inputs = mouseInputs(sysRoot);
    if (inputs.isEmpty()) return 0;
    // The bitmap is printed as hexadecimal words, the most significant first.
    QStringList words = readSmallTextFile(inputs.first() + QStringLiteral("/capabilities/key"))
                            .split(QLatin1Char(' '), Qt::SkipEmptyParts);
    std::reverse(words.begin(), words.end());
    int buttons = 0;
    for (int bit = kFirstButton; bit < kFirstButton + kButtonCount; ++bit) {
        const int word = bit / kWordBits;
        if (word >= words.size()) break;
        const quint64 bits = words[word].toULongLong(nullptr, 16);
        if (bits >> (bit % kWordBits) & 1) ++buttons;
    }
    return buttons;
}

} // namespace kavi
