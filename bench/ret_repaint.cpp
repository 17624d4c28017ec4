#include "ret/propertybag.h"
#include "ret/retainer.h"

#include <QLinearGradient>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cmath>

namespace {

// Args: width, height, background angle, middle-out (0/1).
void BM_RetainerRepaint(benchmark::State& state)
{
    Retainer panel;
    auto bag = ret::TextPropertyBag::fromText(QStringLiteral("BackAngle = %1\nBackMiddleOut = %2\n")
                                                  .arg(state.range(2))
                                                  .arg(state.range(3) ? -1 : 0));
    panel.readProperties(*bag);
    panel.resize(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        panel.Repaint();
        benchmark::DoNotOptimize(panel.surface().constBits());
    }
}

// Qt's own gradient fill of the same area, the yardstick for the panel.
void BM_QLinearGradientFill(benchmark::State& state)
{
    const int w = int(state.range(0)), h = int(state.range(1));
    QImage image(w, h, QImage::Format_RGB32);
    const double r = double(state.range(2)) * M_PI / 180;
    QLinearGradient g(QPointF(w / 2.0, h / 2.0) - QPointF(std::sin(r), std::cos(r)) * h / 2,
                      QPointF(w / 2.0, h / 2.0) + QPointF(std::sin(r), std::cos(r)) * h / 2);
    g.setColorAt(0, QColor(92, 99, 171));
    g.setColorAt(1, QColor(220, 232, 250));
    for (auto _ : state) {
        QPainter p(&image);
        p.fillRect(image.rect(), g);
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

void sizes(benchmark::internal::Benchmark* b)
{
    for (int w : {400, 1600})
        for (int angle : {180, 30})
            for (int middle : {0, 1})
                b->Args({w, w * 3 / 4, angle, middle});
}

} // namespace

BENCHMARK(BM_RetainerRepaint)->Apply(sizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QLinearGradientFill)
    ->Args({400, 300, 180})
    ->Args({400, 300, 30})
    ->Args({1600, 1200, 180})
    ->Args({1600, 1200, 30})
    ->Unit(benchmark::kMicrosecond);
