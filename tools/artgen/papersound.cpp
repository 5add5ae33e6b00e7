// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "papersound.h"

#include <QtEndian>

#include <cmath>
#include <numbers>
#include <vector>

namespace ruvo::artgen {

namespace {

constexpr int kRate = 22050;
constexpr double kSeconds = 0.36;

// A fixed-seed generator: the same noise, hence the same file, on every run.
class Noise
{
public:
    double next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 7;
        m_state ^= m_state << 17;
        return double(m_state >> 11) / double(1ull << 53) * 2 - 1;
    }

private:
    quint64 m_state = 0x9e3779b97f4a7c15ull;
};

// Second-order band-pass (constant peak gain), the usual biquad form.
class BandPass
{
public:
    BandPass(double centre, double q) : m_q(q) { setCentre(centre); }

    void setCentre(double centre)
    {
        const double q = m_q;
        const double w = 2 * std::numbers::pi * centre / kRate;
        const double alpha = std::sin(w) / (2 * q);
        const double a0 = 1 + alpha;
        m_b0 = alpha / a0;
        m_b2 = -alpha / a0;
        m_a1 = -2 * std::cos(w) / a0;
        m_a2 = (1 - alpha) / a0;
    }

    double process(double x)
    {
        const double y = m_b0 * x + m_b2 * m_x2 - m_a1 * m_y1 - m_a2 * m_y2;
        m_x2 = m_x1;
        m_x1 = x;
        m_y2 = m_y1;
        m_y1 = y;
        return y;
    }

private:
    double m_q;
    double m_b0 = 0, m_b2 = 0, m_a1 = 0, m_a2 = 0;
    double m_x1 = 0, m_x2 = 0, m_y1 = 0, m_y2 = 0;
};

double smoothBump(double t, double start, double peak, double end)
{
    if (t <= start || t >= end)
        return 0;
    if (t < peak)
        return std::sin(std::numbers::pi / 2 * (t - start) / (peak - start));
    return std::pow(std::cos(std::numbers::pi / 2 * (t - peak) / (end - peak)), 2);
}

void put16(QByteArray &out, quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

void put32(QByteArray &out, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

} // namespace

QByteArray synthesizePaperSound()
{
    const int count = int(kRate * kSeconds);
    std::vector<double> samples(size_t(count), 0.0);
    Noise noise;
    // The swish of the sheet moving through the air: a broad, airy band that rises in pitch.
    BandPass airLow(1400, 0.7), airHigh(3600, 0.9);
    // Crackles of the bending paper: short, bright grains.
    BandPass grain(3000, 1.6);
    // The soft slap as the page lands.
    BandPass slap(900, 1.1);

    double crackle = 0;
    double soft = 0;
    for (int i = 0; i < count; ++i) {
        const double t = double(i) / kRate;
        const double n = noise.next();

        // The sheet speeds up as it turns, so its swish rises in pitch.
        airLow.setCentre(1100 + 9000 * t * t);
        const double swish = 0.8 * airLow.process(n) + 0.45 * airHigh.process(n);
        const double swishLevel = smoothBump(t, 0.0, 0.045, 0.28);

        // Grains come in bursts while the paper bends, then die away.
        if (noise.next() > 0.9965 - 0.004 * smoothBump(t, 0.01, 0.06, 0.22))
            crackle = 0.9 + 0.3 * noise.next();
        crackle *= 0.985;
        const double grains = grain.process(n) * crackle;

        const double land = slap.process(n) * smoothBump(t, 0.205, 0.222, 0.34);

        // A gentle low-pass takes the hiss off the top.
        const double mixed = swishLevel * swish + 0.5 * grains + 0.9 * land;
        soft += 0.62 * (mixed - soft);
        samples[size_t(i)] = soft;
    }

    // Short fades at both ends so the sound starts and stops without a click.
    const int fade = kRate / 100;
    for (int i = 0; i < fade; ++i) {
        const double g = double(i) / fade;
        samples[size_t(i)] *= g;
        samples[size_t(count - 1 - i)] *= g;
    }
    double peak = 0;
    for (const double s : samples)
        peak = std::max(peak, std::abs(s));
    const double gain = peak > 0 ? 0.55 / peak : 0; // about -5 dB: clear, never clipping

    QByteArray data;
    data.reserve(count * 2);
    for (const double s : samples)
        put16(data, quint16(qint16(std::lround(s * gain * 32767))));

    QByteArray out;
    out.append("RIFF", 4);
    put32(out, quint32(36 + data.size()));
    out.append("WAVE", 4);
    out.append("fmt ", 4);
    put32(out, 16);
    put16(out, 1); // PCM
    put16(out, 1); // mono
    put32(out, kRate);
    put32(out, kRate * 2);
    put16(out, 2);
    put16(out, 16);
    out.append("data", 4);
    put32(out, quint32(data.size()));
    out.append(data);
    return out;
}

} // namespace ruvo::artgen
