<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>marten::BackButton</name>
    <message>
        <location filename="../src/ui/NavigationControls.cpp" line="25"/>
        <location filename="../src/ui/NavigationControls.cpp" line="26"/>
        <source>Back</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>marten::BrowserSignInView</name>
    <message>
        <location filename="../src/screens/BrowserSignInView.cpp" line="74"/>
        <source>Skip for now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/BrowserSignInView.cpp" line="39"/>
        <source>Sign In (Optional)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/BrowserSignInView.cpp" line="44"/>
        <source>Sign in to sync settings and track usage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/BrowserSignInView.cpp" line="52"/>
        <source>Free tier: 100 transcriptions/month
Pro: Unlimited transcriptions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/BrowserSignInView.cpp" line="69"/>
        <source>Sign in with Google</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>marten::CloseButton</name>
    <message>
        <location filename="../src/ui/NavigationControls.cpp" line="63"/>
        <location filename="../src/ui/NavigationControls.cpp" line="64"/>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>marten::FTUEView</name>
    <message>
        <location filename="../src/app/FTUEView.cpp" line="158"/>
        <source>All steps done</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/FTUEView.cpp" line="159"/>
        <source>Go back to the last step, or close the window.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/FTUEView.cpp" line="175"/>
        <source>Get Started</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/app/FTUEView.cpp" line="175"/>
        <source>Next</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>marten::GrantAccessRow</name>
    <message>
        <location filename="../src/screens/GrantAccessRow.cpp" line="35"/>
        <location filename="../src/screens/GrantAccessRow.cpp" line="37"/>
        <source>Grant Access</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/GrantAccessRow.cpp" line="66"/>
        <source>Waiting for your approval...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/GrantAccessRow.cpp" line="79"/>
        <source>Access granted.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/GrantAccessRow.cpp" line="85"/>
        <source>Access is granted, but this session has not picked it up yet. Log out and back in to complete it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/GrantAccessRow.cpp" line="91"/>
        <source>Nothing was changed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/GrantAccessRow.cpp" line="94"/>
        <source>Your account may not make this change. An administrator must do it, with the commands below.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/GrantAccessRow.cpp" line="99"/>
        <source>The grant was stopped before it finished. Try again, or use the commands below.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/GrantAccessRow.cpp" line="104"/>
        <source>Input access could not be granted.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>marten::HowToUseView</name>
    <message>
        <location filename="../src/core/Variant.cpp" line="12"/>
        <source>Press the Right Command key (⌘)</source>
        <translation>Press the right Super key</translation>
    </message>
    <message>
        <location filename="../src/core/Variant.cpp" line="13"/>
        <source>Speak</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/core/Variant.cpp" line="14"/>
        <source>Release</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/core/Variant.cpp" line="15"/>
        <source>Marten prints text wherever your cursor is</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/core/Variant.cpp" line="18"/>
        <source>Hold the Right Command key</source>
        <translation>Hold the right Super key</translation>
    </message>
    <message>
        <location filename="../src/core/Variant.cpp" line="19"/>
        <source>Speak your message</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/core/Variant.cpp" line="20"/>
        <source>Release to insert text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/HowToUseView.cpp" line="28"/>
        <source>How to Use Marten</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/core/Variant.cpp" line="48"/>
        <source>💡 Tip: Works anywhere you can type</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/core/Variant.cpp" line="77"/>
        <source>💡 Tip: Works in any app where you can type!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>marten::InputAccessCommands</name>
    <message>
        <location filename="../src/screens/InputAccessCommands.cpp" line="40"/>
        <source>Let the person at this computer use keyboards and /dev/uinput</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/InputAccessCommands.cpp" line="48"/>
        <source>Load uinput every time the computer starts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/InputAccessCommands.cpp" line="51"/>
        <source>Apply both now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/InputAccessCommands.cpp" line="98"/>
        <location filename="../src/screens/InputAccessCommands.cpp" line="118"/>
        <source>Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/InputAccessCommands.cpp" line="102"/>
        <location filename="../src/screens/InputAccessCommands.cpp" line="117"/>
        <source>Copied</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/InputAccessCommands.cpp" line="103"/>
        <source>Copy command: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/InputAccessCommands.cpp" line="104"/>
        <source>Copy to the clipboard</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>marten::InputAccessPanel</name>
    <message>
        <location filename="../src/screens/InputAccessPanel.cpp" line="40"/>
        <location filename="../src/screens/InputAccessPanel.cpp" line="123"/>
        <source>Allow input access</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/InputAccessPanel.cpp" line="75"/>
        <source>Or in a terminal:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/InputAccessPanel.cpp" line="75"/>
        <source>Run these commands in a terminal:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/InputAccessPanel.cpp" line="80"/>
        <source>The rule lets the active user at this computer read every keyboard. A keyboard a program opened stays open to it after a switch of user or to a text console, and on Wayland it reads what is typed into every window.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/InputAccessPanel.cpp" line="102"/>
        <source>Waiting for input access...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/InputAccessPanel.cpp" line="108"/>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/InputAccessPanel.cpp" line="112"/>
        <source>Close panel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/InputAccessPanel.cpp" line="129"/>
        <source>Marten needs to see when you press the Right Command key (the right Super or Windows key) and to type the text you dictate. Granting input access means: while you are logged in at this computer, programs you run can read the keyboard and type. That is what push-to-talk needs.</source>
        <translation>Marten needs to see when you press the right Super key (the right Windows key, or the right ⌘ on an Apple keyboard) and to type the text you dictate. Granting input access means: while you are logged in at this computer, programs you run can read the keyboard and type. That is what push-to-talk needs.</translation>
    </message>
</context>
<context>
    <name>marten::LoadingView</name>
    <message>
        <location filename="../src/screens/LoadingView.cpp" line="44"/>
        <location filename="../src/screens/LoadingView.cpp" line="63"/>
        <source>Starting Marten...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/LoadingView.cpp" line="51"/>
        <location filename="../src/screens/LoadingView.cpp" line="63"/>
        <source>Preparing your experience...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>marten::OnboardingWindow</name>
    <message>
        <location filename="../src/app/OnboardingWindow.cpp" line="39"/>
        <location filename="../src/app/OnboardingWindow.cpp" line="44"/>
        <source>Welcome to Marten</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>marten::PermissionsView</name>
    <message>
        <location filename="../src/screens/PermissionsView.cpp" line="47"/>
        <source>Accessibility Permission</source>
        <translation>Input Access</translation>
    </message>
    <message>
        <location filename="../src/core/Variant.cpp" line="39"/>
        <source>Marten needs Accessibility permission to type in your applications</source>
        <translation>Marten needs input access to type in your applications</translation>
    </message>
    <message>
        <location filename="../src/core/Variant.cpp" line="70"/>
        <source>Marten needs permission to:</source>
        <translation>Marten needs input access to:</translation>
    </message>
    <message>
        <location filename="../src/screens/PermissionsView.cpp" line="97"/>
        <source>Detect when you press Right Command</source>
        <translation>Detect when you press the right Super key</translation>
    </message>
    <message>
        <location filename="../src/screens/PermissionsView.cpp" line="64"/>
        <source>Open System Settings</source>
        <translation>Open Input Access Panel</translation>
    </message>
    <message>
        <location filename="../src/screens/PermissionsView.cpp" line="74"/>
        <location filename="../src/screens/PermissionsView.cpp" line="77"/>
        <location filename="../src/screens/PermissionsView.cpp" line="134"/>
        <source>Permission Granted!</source>
        <translation>Input Access Granted!</translation>
    </message>
    <message>
        <location filename="../src/core/Variant.cpp" line="42"/>
        <source>Type transcribed text where your cursor is</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/core/Variant.cpp" line="71"/>
        <source>Type transcribed text at your cursor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/PermissionsView.cpp" line="124"/>
        <source>Checking permission...</source>
        <translation>Checking input access...</translation>
    </message>
    <message>
        <location filename="../src/screens/PermissionsView.cpp" line="148"/>
        <source>Permission granted</source>
        <translation>Input access granted</translation>
    </message>
    <message>
        <location filename="../src/screens/PermissionsView.cpp" line="149"/>
        <source>Permission needed</source>
        <translation>Input access needed</translation>
    </message>
</context>
<context>
    <name>marten::ProgressBar</name>
    <message>
        <location filename="../src/ui/ProgressBar.cpp" line="19"/>
        <source>Progress</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/ui/ProgressBar.cpp" line="27"/>
        <source>Step %1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>marten::PurchaseView</name>
    <message>
        <location filename="../src/screens/PurchaseView.cpp" line="34"/>
        <source>Upgrade to Pro</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/PurchaseView.cpp" line="40"/>
        <source>Unlimited voice transcriptions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/PurchaseView.cpp" line="48"/>
        <source>$3 per week</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/PurchaseView.cpp" line="52"/>
        <source>Billed every 4 weeks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/PurchaseView.cpp" line="68"/>
        <source>Subscribe Now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/PurchaseView.cpp" line="73"/>
        <source>Skip for now (15 free uses)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>marten::SignInView</name>
    <message>
        <location filename="../src/screens/SignInView.cpp" line="80"/>
        <source>Skip for now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/SignInView.cpp" line="56"/>
        <source>Sign up or log in</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/SignInView.cpp" line="69"/>
        <source>Continue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/SignInView.cpp" line="98"/>
        <source>Continue with Google</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/SignInView.cpp" line="102"/>
        <source>Continue with Facebook</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/SignInView.cpp" line="108"/>
        <source>Continue with Apple</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/SignInView.cpp" line="123"/>
        <location filename="../src/screens/SignInView.cpp" line="131"/>
        <location filename="../src/screens/SignInView.cpp" line="132"/>
        <source>Email or username</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/SignInView.cpp" line="151"/>
        <source>Coming soon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/SignInView.cpp" line="151"/>
        <source>This action will be enabled shortly.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/SignInView.cpp" line="151"/>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>marten::Spinner</name>
    <message>
        <location filename="../src/ui/Spinner.cpp" line="15"/>
        <source>Loading</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>marten::TestItView</name>
    <message>
        <location filename="../src/screens/TestItView.cpp" line="120"/>
        <source>Test It Out!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/TestItView.cpp" line="125"/>
        <source>Hold Right ⌘ and say something</source>
        <translation>Hold the right Super key and say something</translation>
    </message>
    <message>
        <location filename="../src/screens/TestItView.cpp" line="138"/>
        <source>🎉 Ready to start using Marten?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/TestItView.cpp" line="213"/>
        <location filename="../src/screens/TestItView.cpp" line="255"/>
        <source>You said:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/TestItView.cpp" line="235"/>
        <location filename="../src/screens/TestItView.cpp" line="237"/>
        <source>Recording</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/TestItView.cpp" line="235"/>
        <source>Microphone</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/TestItView.cpp" line="237"/>
        <source>Not recording</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>marten::WelcomeView</name>
    <message>
        <location filename="../src/screens/WelcomeView.cpp" line="57"/>
        <source>Welcome to Marten</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="../src/screens/WelcomeView.cpp" line="61"/>
        <source>speak to type, anywhere</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
