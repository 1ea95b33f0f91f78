// The application manager: reading a description and installing onto a device.

#include "model/templates.h"
#include "platform/devicepaths.h"
#include "platform/registry.h"
#include "setup/ceappmgr/deviceinstaller.h"
#include "setup/ceappmgr/installdescription.h"
#include "setup/installlauncher.h"
#include "testsupport.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const char kDescription[] =
    "[CEAppManager]\nComponent=App\n"
    "[App]\nAppName=Corvexa Quillon for Pocket PCs\nInstallDir=\\Program Files\\Quillon\nFiles=Program,Templates\n"
    "[Program]\nSource=quillon\nDestination=\\Program Files\\Quillon\n"
    "[Templates]\nSource=templates/*.min\nDestination=\\Program Files\\Quillon\\Templates\nReplace=no\n"
    "[AppPaths]\npword.exe=open\nirsquirt.exe=send\n";

QString InstallDirOf(const Registry& registry)
{
    const auto value = registry.value(RegistryHive::LocalMachine, QStringLiteral("SOFTWARE\\Apps\\Corvexa Quillon for Pocket PCs"),
                                      QStringLiteral("InstallDir"));
    return value ? value->toString() : QString();
}

} // namespace

TEST(InstallDescriptionTest, UnusableDescriptionsSayWhy)
{
    InstallDescription description;
    QString error;
    EXPECT_TRUE(InstallDescription::Parse(kDescription, &description, &error)) << error.toStdString();
    EXPECT_EQ(description.files.size(), 2);
    EXPECT_FALSE(description.files[1].replace);
    EXPECT_EQ(description.appPaths.size(), 2);

    const struct {
        const char* text;
        const char* why;
    } cases[] = {
        {"[App]\nAppName=x\n", "no [CEAppManager] section"},
        {"[CEAppManager]\nComponent=App\n[App]\nAppName=x\nInstallDir=Program Files\n", "InstallDir starting with a backslash"},
        {"[CEAppManager]\nComponent=App\n[App]\nAppName=x\nInstallDir=\\P\nFiles=F\n[F]\nSource=../etc/passwd\nDestination=\\Windows\n",
         "Source inside the installation folder"},
        {"[CEAppManager]\nComponent=App\n[App]\nAppName=x\nInstallDir=\\P\n[AppPaths]\na.exe=run\n", "must be open or send"},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(InstallDescription::Parse(c.text, &description, &error));
        EXPECT_TRUE(error.contains(QLatin1String(c.why))) << error.toStdString();
    }
    EXPECT_FALSE(InstallDescription::Read(QStringLiteral("/nonexistent/x.ini"), &description, &error));
    EXPECT_EQ(error, QStringLiteral("The installation description \"/nonexistent/x.ini\" was not found."));
}

TEST(DeviceInstallerTest, InstallsOnceAndKeepsWhatTheUserMayHaveChanged)
{
    QTemporaryDir medium;
    QTemporaryDir deviceDir;
    testsupport::writeFile(medium.filePath(QStringLiteral("quillon")), "program v1");
    QDir(medium.path()).mkpath(QStringLiteral("templates"));
    testsupport::writeFile(medium.filePath(QStringLiteral("templates/Weekly.min")), QByteArray(2, '\0'));
    InstallDescription description;
    QString error;
    ASSERT_TRUE(InstallDescription::Parse(kDescription, &description, &error));

    const DevicePaths device(deviceDir.path());
    Registry registry(device.registryFile());
    DeviceInstaller installer(device, registry);
    installer.m_commandFor = [](const QString& role) { return role == QLatin1String("open") ? QStringLiteral("xdg-open") : QString(); };
    QStringList report;
    ASSERT_TRUE(installer.Install(description, medium.path(), &report));
    EXPECT_EQ(testsupport::readFile(device.toHost(QStringLiteral("\\Program Files\\Quillon\\quillon"))), QByteArray("program v1"));
    EXPECT_EQ(InstallDirOf(registry), QStringLiteral("\\Program Files\\Quillon"));
    EXPECT_EQ(registry.value(RegistryHive::LocalMachine, QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\pword.exe"), QString())->toString(),
              QStringLiteral("xdg-open"));
    // No sender on this computer: not registered, and said so.
    EXPECT_FALSE(registry.keyExists(RegistryHive::LocalMachine, QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\irsquirt.exe")));
    EXPECT_TRUE(report.contains(QStringLiteral("No program on this computer can stand in for irsquirt.exe")));

    // Again: nothing changes, and a template the user edited is kept.
    const QString weekly = device.toHost(QStringLiteral("\\Program Files\\Quillon\\Templates\\Weekly.min"));
    testsupport::writeFile(weekly, "edited by the user");
    const QByteArray registryBefore = testsupport::readFile(device.registryFile());
    report.clear();
    ASSERT_TRUE(installer.Install(description, medium.path(), &report));
    EXPECT_TRUE(report.contains(QStringLiteral("Up to date: \\Program Files\\Quillon\\quillon")));
    EXPECT_TRUE(report.contains(QStringLiteral("Kept \\Program Files\\Quillon\\Templates\\Weekly.min (already on the device)")));
    EXPECT_EQ(testsupport::readFile(weekly), QByteArray("edited by the user"));
    EXPECT_EQ(testsupport::readFile(device.registryFile()), registryBefore);

    // A newer program replaces the old one.
    testsupport::writeFile(medium.filePath(QStringLiteral("quillon")), "program v2");
    ASSERT_TRUE(installer.Install(description, medium.path(), &report));
    EXPECT_EQ(testsupport::readFile(device.toHost(QStringLiteral("\\Program Files\\Quillon\\quillon"))), QByteArray("program v2"));
}

TEST(DeviceInstallerTest, OnlyFilesOfTheMediumAreCopiedAndNoDeviceLinkIsWrittenThrough)
{
    QTemporaryDir medium;
    QTemporaryDir elsewhere;
    QTemporaryDir deviceDir;
    testsupport::writeFile(medium.filePath(QStringLiteral("quillon")), "program");
    QDir(medium.path()).mkpath(QStringLiteral("templates"));
    testsupport::writeFile(medium.filePath(QStringLiteral("templates/Weekly.min")), "weekly");
    testsupport::writeFile(elsewhere.filePath(QStringLiteral("secret")), "secret");
    // A link within the medium is a file of it; one out of it is not.
    QFile::link(medium.filePath(QStringLiteral("templates/Weekly.min")), medium.filePath(QStringLiteral("templates/Linked.min")));
    QFile::link(elsewhere.filePath(QStringLiteral("secret")), medium.filePath(QStringLiteral("templates/Evil.min")));
    // A link already on the device, to where nothing is yet.
    const DevicePaths device(deviceDir.path());
    QDir().mkpath(device.toHost(QStringLiteral("\\Program Files\\Quillon")));
    QFile::link(elsewhere.filePath(QStringLiteral("planted")), device.toHost(QStringLiteral("\\Program Files\\Quillon\\quillon")));
    InstallDescription description;
    QString error;
    ASSERT_TRUE(InstallDescription::Parse(kDescription, &description, &error));

    Registry registry(device.registryFile());
    DeviceInstaller installer(device, registry);
    installer.m_commandFor = [](const QString&) { return QStringLiteral("xdg-open"); };
    QStringList report;
    EXPECT_FALSE(installer.Install(description, medium.path(), &report));
    EXPECT_TRUE(report.contains(QStringLiteral("Could not read %1: it leads outside the installation medium")
                                    .arg(medium.filePath(QStringLiteral("templates/Evil.min")))))
        << report.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("Access to \\Program Files\\Quillon\\quillon was denied.")));
    const QString templates = QStringLiteral("\\Program Files\\Quillon\\Templates\\");
    EXPECT_FALSE(QFileInfo::exists(device.toHost(templates + QStringLiteral("Evil.min"))));
    EXPECT_EQ(testsupport::readFile(device.toHost(templates + QStringLiteral("Linked.min"))), QByteArray("weekly"));
    EXPECT_FALSE(QFileInfo::exists(elsewhere.filePath(QStringLiteral("planted"))));
}

TEST(DeviceInstallerTest, TheBuiltMediumInstallsWithoutADisplay)
{
    // As over SSH: no display and no platform chosen.
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("QUILLON_DESKTOP"), home.filePath(QStringLiteral("desktop")));
    environment.insert(QStringLiteral("QUILLON_DEVICE"), home.filePath(QStringLiteral("device")));
    auto run = [&](const QStringList& arguments) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(QUILLON_CEAPPMGR), arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    };
    run({QStringLiteral("--register")});
    Registry desktop(home.filePath(QStringLiteral("desktop/registry.reg")));
    const auto manager = desktop.value(RegistryHive::LocalMachine, CInstallLauncher::AppManagerKey(), QString());
    EXPECT_TRUE(manager && manager->toString() == QFileInfo(QStringLiteral(QUILLON_CEAPPMGR)).absoluteFilePath());

    // Without --quiet the report goes to the terminal.
    const QString medium = QStringLiteral(QUILLON_MEDIUM "/Quillon for Pocket PCs.ini");
    run({medium});
    const DevicePaths device(home.filePath(QStringLiteral("device")));
    Registry registry(device.registryFile());
    Templates templates(registry, device);
    QStringList names = templates.Names();
    names.sort();
    EXPECT_EQ(names, (QStringList{QStringLiteral("Board Meeting.min"), QStringLiteral("Project Status Meeting.min"),
                                  QStringLiteral("Weekly Team Meeting.min")}));
    EXPECT_TRUE(QFile::exists(device.toHost(QStringLiteral("\\windows\\Quillon.htm"))));
    // The version About shows is this build's.
    const auto version = registry.value(RegistryHive::CurrentUser, QStringLiteral("software\\Corvexa\\Quillon\\Version"),
                                        QStringLiteral("Version"));
    EXPECT_EQ(version ? version->toString() : QString(), QStringLiteral(QUILLON_VERSION));
    // A new user's minutes name attendees and authors: name, company and e-mail.
    const QString options = QStringLiteral("software\\Corvexa\\Quillon\\Options");
    const auto fields = registry.value(RegistryHive::CurrentUser, options, QStringLiteral("RequiredContactProps"));
    ASSERT_TRUE(fields.has_value());
    EXPECT_EQ(fields->data, RegistryValue::fromDword(0x183).data);
    registry.setValue(RegistryHive::CurrentUser, options, QStringLiteral("RequiredContactProps"), RegistryValue::fromDword(5));

    // The sample address book goes only onto a device without contacts: once
    // the user has their own, a reinstall does not bring it back.
    const QString sample = device.toHost(QStringLiteral("\\Contacts\\sample.vcf"));
    EXPECT_TRUE(QFile::exists(sample));
    QFile::remove(sample);
    testsupport::writeFile(device.toHost(QStringLiteral("\\Contacts\\mine.vcf")), "BEGIN:VCARD\r\nEND:VCARD\r\n");
    run({QStringLiteral("--quiet"), medium});
    EXPECT_FALSE(QFile::exists(sample));
    // The user's own choice of fields survives the reinstall.
    Registry after(device.registryFile());
    EXPECT_EQ(after.value(RegistryHive::CurrentUser, options, QStringLiteral("RequiredContactProps"))->data,
              RegistryValue::fromDword(5).data);
}
