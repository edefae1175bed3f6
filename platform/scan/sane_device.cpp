// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/scan/sane_device.h"

#include "platform/imaging/picture_resolution.h"

#include <sane/sane.h>
#include <sane/saneopts.h>

#include <cmath>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <new>
#include <thread>

namespace kavi {

namespace {

SANE_Handle h(void* p) { return static_cast<SANE_Handle>(p); }

double fromWord(SANE_Value_Type type, SANE_Word w) { return type == SANE_TYPE_FIXED ? SANE_UNFIX(w) : double(w); }
SANE_Word toWord(SANE_Value_Type type, double v) {
    return type == SANE_TYPE_FIXED ? SANE_FIX(v) : SANE_Word(std::lround(v));
}

bool usable(const SANE_Option_Descriptor* d) {
    return d && SANE_OPTION_IS_ACTIVE(d->cap) && SANE_OPTION_IS_SETTABLE(d->cap);
}

// Gives up a device that stops answering: while a call to the device is under way, a helper thread
// waits; if the call takes longer than the limit, it cancels the scan, which SANE allows from any
// thread and which makes the waiting call return.
class SilenceWatch {
public:
    SilenceWatch(SANE_Handle handle, std::chrono::milliseconds limit)
        : handle_(handle), limit_(limit), thread_([this] { watch(); }) {}
    ~SilenceWatch() {
        {
            std::lock_guard lock(mutex_);
            finished_ = true;
        }
        wake_.notify_one();
        thread_.join();
    }
    SilenceWatch(const SilenceWatch&) = delete;
    SilenceWatch& operator=(const SilenceWatch&) = delete;

    // Runs one call to the device under watch.
    template <class Call>
    auto operator()(Call call) {
        {
            std::lock_guard lock(mutex_);
            ++calls_;
            busy_ = true;
        }
        wake_.notify_one();
        auto result = call();
        std::lock_guard lock(mutex_);
        busy_ = false;
        return result;
    }
    bool gaveUp() const {
        std::lock_guard lock(mutex_);
        return gaveUp_;
    }

private:
    void watch() {
        std::unique_lock lock(mutex_);
        while (!finished_) {
            if (!busy_) {
                wake_.wait(lock);
                continue;
            }
            const unsigned long call = calls_;
            if (wake_.wait_for(lock, limit_, [&] { return finished_ || !busy_ || calls_ != call; })) continue;
            gaveUp_ = true;
            busy_ = false;
            lock.unlock(); // the call that returns on the cancel may need the lock at once
            sane_cancel(handle_);
            lock.lock();
        }
    }

    SANE_Handle handle_;
    std::chrono::milliseconds limit_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    unsigned long calls_ = 0;
    bool busy_ = false;
    bool finished_ = false;
    bool gaveUp_ = false;
    std::thread thread_; // last: it starts once everything above is ready
};

} // namespace

SaneLibrary::SaneLibrary() {
    SANE_Int version = 0;
    started_ = sane_init(&version, nullptr) == SANE_STATUS_GOOD;
}

SaneLibrary::~SaneLibrary() {
    if (started_) sane_exit();
}

std::vector<ScannerDevice> SaneLibrary::devices() {
    std::vector<ScannerDevice> out;
    const SANE_Device** list = nullptr;
    if (!started_ || sane_get_devices(&list, SANE_TRUE) != SANE_STATUS_GOOD || !list) return out;
    for (; *list; ++list) {
        const SANE_Device* d = *list;
        QString label = QString::fromUtf8(d->vendor) + QLatin1Char(' ') + QString::fromUtf8(d->model);
        out.push_back({QString::fromUtf8(d->name), label.trimmed()});
    }
    return out;
}

SaneDevice::~SaneDevice() {
    if (handle_) sane_close(h(handle_));
}

bool SaneDevice::open(const QString& name) {
    SANE_Handle handle = nullptr;
    if (sane_open(name.toUtf8().constData(), &handle) != SANE_STATUS_GOOD) return false;
    handle_ = handle;
    return true;
}

int SaneDevice::findOption(const char* name) const {
    SANE_Int count = 0;
    const SANE_Option_Descriptor* first = sane_get_option_descriptor(h(handle_), 0);
    if (!first || sane_control_option(h(handle_), 0, SANE_ACTION_GET_VALUE, &count, nullptr) != SANE_STATUS_GOOD)
        return -1;
    for (SANE_Int i = 1; i < count; ++i) {
        const SANE_Option_Descriptor* d = sane_get_option_descriptor(h(handle_), i);
        if (d && d->name && std::strcmp(d->name, name) == 0) return usable(d) ? i : -1;
    }
    return -1;
}

NumericSetting SaneDevice::numeric(const char* name) const {
    NumericSetting s;
    const int i = findOption(name);
    if (i < 0) return s;
    const SANE_Option_Descriptor* d = sane_get_option_descriptor(h(handle_), i);
    if ((d->type != SANE_TYPE_INT && d->type != SANE_TYPE_FIXED) || d->size != sizeof(SANE_Word)) return s;
    SANE_Word w = 0;
    if (sane_control_option(h(handle_), i, SANE_ACTION_GET_VALUE, &w, nullptr) != SANE_STATUS_GOOD) return s;
    s.offered = true;
    s.value = fromWord(d->type, w);
    s.millimetres = d->unit == SANE_UNIT_MM;
    if (d->constraint_type == SANE_CONSTRAINT_RANGE && d->constraint.range) {
        s.min = fromWord(d->type, d->constraint.range->min);
        s.max = fromWord(d->type, d->constraint.range->max);
        s.step = fromWord(d->type, d->constraint.range->quant);
    } else if (d->constraint_type == SANE_CONSTRAINT_WORD_LIST && d->constraint.word_list) {
        const SANE_Word* list = d->constraint.word_list;
        for (SANE_Word k = 1; k <= list[0]; ++k) s.choices.push_back(fromWord(d->type, list[k]));
    } else {
        s.min = 0;
        s.max = 1e6;
    }
    return s;
}

ScanSettings SaneDevice::settings() const {
    ScanSettings s;
    s.resolution = numeric(SANE_NAME_SCAN_RESOLUTION);
    const int m = findOption(SANE_NAME_SCAN_MODE);
    if (m >= 0) {
        const SANE_Option_Descriptor* d = sane_get_option_descriptor(h(handle_), m);
        if (d->type == SANE_TYPE_STRING && d->constraint_type == SANE_CONSTRAINT_STRING_LIST && d->size > 0) {
            for (const SANE_String_Const* p = d->constraint.string_list; p && *p; ++p) s.modes << QString::fromUtf8(*p);
            QByteArray value(d->size, '\0');
            if (sane_control_option(h(handle_), m, SANE_ACTION_GET_VALUE, value.data(), nullptr) == SANE_STATUS_GOOD)
                s.mode = QString::fromUtf8(value.constData());
        }
    }
    s.left = numeric(SANE_NAME_SCAN_TL_X);
    s.top = numeric(SANE_NAME_SCAN_TL_Y);
    s.right = numeric(SANE_NAME_SCAN_BR_X);
    s.bottom = numeric(SANE_NAME_SCAN_BR_Y);
    return s;
}

bool SaneDevice::setNumber(const char* name, double value) {
    const int i = findOption(name);
    if (i < 0) return false;
    const SANE_Option_Descriptor* d = sane_get_option_descriptor(h(handle_), i);
    SANE_Word w = toWord(d->type, value);
    return sane_control_option(h(handle_), i, SANE_ACTION_SET_VALUE, &w, nullptr) == SANE_STATUS_GOOD;
}

bool SaneDevice::apply(const ScanSettings& s) {
    // The mode first: changing it may change which other settings are offered.
    if (!s.modes.isEmpty() && !s.mode.isEmpty()) {
        const int m = findOption(SANE_NAME_SCAN_MODE);
        if (m >= 0) {
            const SANE_Option_Descriptor* d = sane_get_option_descriptor(h(handle_), m);
            QByteArray value = s.mode.toUtf8();
            value.resize(std::max<qsizetype>(d->size, value.size() + 1), '\0');
            if (sane_control_option(h(handle_), m, SANE_ACTION_SET_VALUE, value.data(), nullptr) != SANE_STATUS_GOOD)
                return false;
        }
    }
    const std::pair<const char*, const NumericSetting*> numbers[] = {{SANE_NAME_SCAN_RESOLUTION, &s.resolution},
                                                                     {SANE_NAME_SCAN_TL_X, &s.left},
                                                                     {SANE_NAME_SCAN_TL_Y, &s.top},
                                                                     {SANE_NAME_SCAN_BR_X, &s.right},
                                                                     {SANE_NAME_SCAN_BR_Y, &s.bottom}};
    for (const auto& [name, setting] : numbers)
        if (setting->offered && findOption(name) >= 0 && !setNumber(name, setting->value)) return false;
    return true;
}

namespace {

// One frame's samples as 8-bit values per pixel and channel.
inline int sample(const std::uint8_t* line, int index, int depth) {
    if (depth == 8) return line[index];
    if (depth == 16) {
        std::uint16_t v;
        std::memcpy(&v, line + 2 * index, 2); // SANE's 16-bit samples are in host byte order
        return v >> 8;
    }
    return (line[index >> 3] & (0x80 >> (index & 7))) ? 0 : 255; // 1 bit: a set bit is black
}

void putFrame(QImage& image, const std::vector<std::uint8_t>& data, const SANE_Parameters& p) {
    const int width = image.width();
    for (int y = 0; y < image.height(); ++y) {
        const std::uint8_t* line = data.data() + std::size_t(p.bytes_per_line) * std::size_t(y);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            QRgb& px = out[x];
            switch (p.format) {
            case SANE_FRAME_GRAY: {
                const int v = sample(line, x, p.depth);
                px = qRgb(v, v, v);
                break;
            }
            case SANE_FRAME_RGB:
                px = qRgb(sample(line, 3 * x, p.depth), sample(line, 3 * x + 1, p.depth),
                          sample(line, 3 * x + 2, p.depth));
                break;
            case SANE_FRAME_RED: px = qRgb(sample(line, x, p.depth), qGreen(px), qBlue(px)); break;
            case SANE_FRAME_GREEN: px = qRgb(qRed(px), sample(line, x, p.depth), qBlue(px)); break;
            case SANE_FRAME_BLUE: px = qRgb(qRed(px), qGreen(px), sample(line, x, p.depth)); break;
            default: break;
            }
        }
    }
}

bool knownFrame(const SANE_Parameters& p) {
    const bool depthOk = p.depth == 1 || p.depth == 8 || p.depth == 16;
    const bool formatOk = p.format == SANE_FRAME_GRAY || p.format == SANE_FRAME_RGB || p.format == SANE_FRAME_RED ||
        p.format == SANE_FRAME_GREEN || p.format == SANE_FRAME_BLUE;
    const int channels = p.format == SANE_FRAME_RGB ? 3 : 1;
    const long long needed = (static_cast<long long>(p.pixels_per_line) * channels * p.depth + 7) / 8;
    return depthOk && formatOk && !(p.format == SANE_FRAME_RGB && p.depth == 1) && p.pixels_per_line > 0 &&
        p.bytes_per_line >= needed;
}

} // namespace

// The resolution of the next scan in dots per inch, across and down; 0 where the device does not say.
std::pair<double, double> SaneDevice::scanDpi() const {
    NumericSetting across = numeric(SANE_NAME_SCAN_RESOLUTION);
    if (!across.offered) across = numeric(SANE_NAME_SCAN_X_RESOLUTION);
    const NumericSetting down = numeric(SANE_NAME_SCAN_Y_RESOLUTION);
    const double x = across.offered ? across.value : 0;
    return {x, down.offered ? down.value : x};
}

QImage SaneDevice::scan(const Progress& progress) {
    if (!handle_) return {};
    // Read before the scan starts: the picture is made at the resolution set now.
    const auto [dpiX, dpiY] = scanDpi();
    QImage image;
    bool lastFrame = false;
    SilenceWatch watched(h(handle_), silenceLimit_);
    try {
        while (!lastFrame) {
            if (watched([&] { return sane_start(h(handle_)); }) != SANE_STATUS_GOOD) break;
            SANE_Parameters p{};
            if (sane_get_parameters(h(handle_), &p) != SANE_STATUS_GOOD || !knownFrame(p)) break;
            const std::size_t expected = p.lines > 0 ? std::size_t(p.bytes_per_line) * std::size_t(p.lines) : 0;
            std::vector<std::uint8_t> data;
            data.reserve(expected);
            std::vector<std::uint8_t> chunk(64 * 1024);
            SANE_Status status = SANE_STATUS_GOOD;
            bool cancelled = false;
            while (status == SANE_STATUS_GOOD) {
                SANE_Int got = 0;
                status = watched([&] { return sane_read(h(handle_), chunk.data(), SANE_Int(chunk.size()), &got); });
                if (status == SANE_STATUS_GOOD && got > 0) data.insert(data.end(), chunk.data(), chunk.data() + got);
                const double done = expected ? double(data.size()) / double(expected) : -1.0;
                if (progress && !progress(done)) {
                    cancelled = true;
                    break;
                }
            }
            if (cancelled || status != SANE_STATUS_EOF) break;
            const int lines = int(data.size() / std::size_t(p.bytes_per_line));
            if (lines <= 0) break;
            if (image.isNull()) {
                image = QImage(p.pixels_per_line, lines, QImage::Format_RGB32);
                if (image.isNull()) break;
                image.fill(Qt::black);
            } else if (image.width() != p.pixels_per_line || image.height() != lines) {
                break; // frames of one picture disagree in size
            }
            putFrame(image, data, p);
            lastFrame = p.last_frame;
        }
    } catch (const std::bad_alloc&) {
        lastFrame = false;
    }
    sane_cancel(h(handle_));
    lastScanGaveUp_ = watched.gaveUp();
    if (!lastFrame || lastScanGaveUp_) return {};
    setPictureDpi(image, dpiX, dpiY);
    return image;
}

} // namespace kavi
