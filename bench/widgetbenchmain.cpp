#include "widgetbenchmain.h"

#include <QApplication>

#include <benchmark/benchmark.h>

int RunWidgetBenchmarks(int argc, char** argv, const std::function<void()>& atEnd)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (atEnd)
        atEnd();
    return 0;
}
