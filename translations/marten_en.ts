<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>marten::HowToUseView</name>
    <message>
        <source>Press the Right Command key (⌘)</source>
        <translation>Press the right Super key</translation>
    </message>
    <message>
        <source>Hold the Right Command key</source>
        <translation>Hold the right Super key</translation>
    </message>
</context>
<context>
    <name>marten::InputAccessPanel</name>
    <message>
        <source>Marten needs to see when you press the Right Command key (the right Super or Windows key) and to type the text you dictate. Granting input access means: while you are logged in at this computer, programs you run can read the keyboard and type. That is what push-to-talk needs.</source>
        <translation>Marten needs to see when you press the right Super key (the right Windows key, or the right ⌘ on an Apple keyboard) and to type the text you dictate. Granting input access means: while you are logged in at this computer, programs you run can read the keyboard and type. That is what push-to-talk needs.</translation>
    </message>
</context>
<context>
    <name>marten::PermissionsView</name>
    <message>
        <source>Accessibility Permission</source>
        <translation>Input Access</translation>
    </message>
    <message>
        <source>Marten needs Accessibility permission to type in your applications</source>
        <translation>Marten needs input access to type in your applications</translation>
    </message>
    <message>
        <source>Marten needs permission to:</source>
        <translation>Marten needs input access to:</translation>
    </message>
    <message>
        <source>Detect when you press Right Command</source>
        <translation>Detect when you press the right Super key</translation>
    </message>
    <message>
        <source>Open System Settings</source>
        <translation>Open Input Access Panel</translation>
    </message>
    <message>
        <source>Permission Granted!</source>
        <translation>Input Access Granted!</translation>
    </message>
    <message>
        <source>Checking permission...</source>
        <translation>Checking input access...</translation>
    </message>
    <message>
        <source>Permission granted</source>
        <translation>Input access granted</translation>
    </message>
    <message>
        <source>Permission needed</source>
        <translation>Input access needed</translation>
    </message>
</context>
<context>
    <name>marten::TestItView</name>
    <message>
        <source>Hold Right ⌘ and say something</source>
        <translation>Hold the right Super key and say something</translation>
    </message>
</context>
</TS>
