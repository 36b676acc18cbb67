#include "tools/player/wave_output.h"

namespace player {

std::unique_ptr<WaveOutput> WaveOutput::open(const Soundtrack& soundtrack) {
    HWAVEOUT device = nullptr;
    WAVEFORMATEX format = soundtrack.format;
    if (waveOutOpen(&device, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) return nullptr;
    return std::unique_ptr<WaveOutput>(new WaveOutput(device, soundtrack));
}

WaveOutput::WaveOutput(HWAVEOUT device, const Soundtrack& soundtrack) : device_(device), soundtrack_(soundtrack) {}

WaveOutput::~WaveOutput() {
    stop();
    waveOutClose(device_);
}

void WaveOutput::stop() {
    if (!queued_) return;
    // The reset hands the buffer back, after which it may be unprepared.
    waveOutReset(device_);
    waveOutUnprepareHeader(device_, &header_, sizeof header_);
    queued_ = false;
}

void WaveOutput::start() {
    stop();
    header_ = {};
    header_.lpData = reinterpret_cast<LPSTR>(const_cast<uint8_t*>(soundtrack_.samples.data()));
    header_.dwBufferLength = static_cast<DWORD>(soundtrack_.samples.size());
    if (waveOutPrepareHeader(device_, &header_, sizeof header_) != MMSYSERR_NOERROR) return;
    queued_ = waveOutWrite(device_, &header_, sizeof header_) == MMSYSERR_NOERROR;
    if (!queued_) waveOutUnprepareHeader(device_, &header_, sizeof header_);
}

void WaveOutput::setVolume(int percent) {
    const DWORD level = static_cast<DWORD>(percent) * 0xFFFF / 100;
    waveOutSetVolume(device_, level << 16 | level);
}

double WaveOutput::position() const {
    if (!queued_) return 0.0;
    MMTIME time{};
    time.wType = TIME_BYTES;
    if (waveOutGetPosition(device_, &time, sizeof time) != MMSYSERR_NOERROR || time.wType != TIME_BYTES) return 0.0;
    return double(time.u.cb) / soundtrack_.format.nAvgBytesPerSec;
}

}  // namespace player
