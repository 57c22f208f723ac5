#pragma once

#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>

namespace lumavo::bench {

// Runs the benchmarks of a program that needs fonts and images: a GUI application object on the
// offscreen platform unless another is chosen.
inline int runWithGuiApplication(int argc, char** argv)
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace lumavo::bench
