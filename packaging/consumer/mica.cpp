// Someone else's widget program against an installed Mica: sets Mica's metrics and reads one back.
#include <mica/KvLayout.h>

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    KvLayout::SetupMetrics("Sans", 9.0, 0.0, 0.3, 2.0, 4.0, 10.0);
    std::printf("mica-consumer: metric 4 is %.1f\n", KvLayout::metric(4));
    return KvLayout::metric(4) == 10.0 ? 0 : 1;
}
