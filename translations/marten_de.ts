<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>marten::BackButton</name>
    <message>
        <location filename="../src/ui/NavigationControls.cpp" line="25"/>
        <location filename="../src/ui/NavigationControls.cpp" line="26"/>
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
</context>
<context>
    <name>marten::BrowserSignInView</name>
    <message>
        <location filename="../src/screens/BrowserSignInView.cpp" line="74"/>
        <source>Skip for now</source>
        <translation>Vorerst überspringen</translation>
    </message>
    <message>
        <location filename="../src/screens/BrowserSignInView.cpp" line="39"/>
        <source>Sign In (Optional)</source>
        <translation>Anmelden (optional)</translation>
    </message>
    <message>
        <location filename="../src/screens/BrowserSignInView.cpp" line="44"/>
        <source>Sign in to sync settings and track usage</source>
        <translation>Anmelden, um Einstellungen zu synchronisieren und die Nutzung zu verfolgen</translation>
    </message>
    <message>
        <location filename="../src/screens/BrowserSignInView.cpp" line="52"/>
        <source>Free tier: 100 transcriptions/month
Pro: Unlimited transcriptions</source>
        <translation>Kostenlos: 100 Transkriptionen/Monat
Pro: Unbegrenzte Transkriptionen</translation>
    </message>
    <message>
        <location filename="../src/screens/BrowserSignInView.cpp" line="69"/>
        <source>Sign in with Google</source>
        <translation>Mit Google anmelden</translation>
    </message>
</context>
<context>
    <name>marten::CloseButton</name>
    <message>
        <location filename="../src/ui/NavigationControls.cpp" line="63"/>
        <location filename="../src/ui/NavigationControls.cpp" line="64"/>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>marten::FTUEView</name>
    <message>
        <location filename="../src/app/FTUEView.cpp" line="158"/>
        <source>All steps done</source>
        <translation>Alle Schritte erledigt</translation>
    </message>
    <message>
        <location filename="../src/app/FTUEView.cpp" line="159"/>
        <source>Go back to the last step, or close the window.</source>
        <translation>Gehen Sie zum letzten Schritt zurück oder schließen Sie das Fenster.</translation>
    </message>
    <message>
        <location filename="../src/app/FTUEView.cpp" line="175"/>
        <source>Next</source>
        <translation>Weiter</translation>
    </message>
    <message>
        <location filename="../src/app/FTUEView.cpp" line="175"/>
        <source>Get Started</source>
        <translation>Loslegen</translation>
    </message>
</context>
<context>
    <name>marten::GrantAccessRow</name>
    <message>
        <location filename="../src/screens/GrantAccessRow.cpp" line="35"/>
        <location filename="../src/screens/GrantAccessRow.cpp" line="37"/>
        <source>Grant Access</source>
        <translation>Zugriff gewähren</translation>
    </message>
    <message>
        <location filename="../src/screens/GrantAccessRow.cpp" line="66"/>
        <source>Waiting for your approval...</source>
        <translation>Warte auf Ihre Bestätigung...</translation>
    </message>
    <message>
        <location filename="../src/screens/GrantAccessRow.cpp" line="79"/>
        <source>Access granted.</source>
        <translation>Zugriff gewährt.</translation>
    </message>
    <message>
        <location filename="../src/screens/GrantAccessRow.cpp" line="85"/>
        <source>Access is granted, but this session has not picked it up yet. Log out and back in to complete it.</source>
        <translation>Der Zugriff ist gewährt, doch diese Sitzung hat ihn noch nicht übernommen. Melden Sie sich ab und wieder an, damit er wirksam wird.</translation>
    </message>
    <message>
        <location filename="../src/screens/GrantAccessRow.cpp" line="91"/>
        <source>Nothing was changed.</source>
        <translation>Es wurde nichts geändert.</translation>
    </message>
    <message>
        <location filename="../src/screens/GrantAccessRow.cpp" line="94"/>
        <source>Your account may not make this change. An administrator must do it, with the commands below.</source>
        <translation>Ihr Konto darf diese Änderung nicht vornehmen. Das muss ein Administrator tun, mit den Befehlen unten.</translation>
    </message>
    <message>
        <location filename="../src/screens/GrantAccessRow.cpp" line="104"/>
        <source>Input access could not be granted.</source>
        <translation>Der Eingabezugriff konnte nicht gewährt werden.</translation>
    </message>
    <message>
        <location filename="../src/screens/GrantAccessRow.cpp" line="99"/>
        <source>The grant was stopped before it finished. Try again, or use the commands below.</source>
        <translation>Die Freigabe wurde vor ihrem Ende abgebrochen. Versuchen Sie es erneut oder verwenden Sie die Befehle unten.</translation>
    </message>
</context>
<context>
    <name>marten::HowToUseView</name>
    <message>
        <location filename="../src/screens/HowToUseView.cpp" line="28"/>
        <source>How to Use Marten</source>
        <translation>So nutzen Sie Marten</translation>
    </message>
    <message>
        <location filename="../src/core/Variant.cpp" line="48"/>
        <source>💡 Tip: Works anywhere you can type</source>
        <translation>💡 Tipp: Funktioniert überall, wo Sie tippen können</translation>
    </message>
    <message>
        <location filename="../src/core/Variant.cpp" line="77"/>
        <source>💡 Tip: Works in any app where you can type!</source>
        <translation>💡 Tipp: Funktioniert in jeder App, in der Sie tippen können!</translation>
    </message>
    <message>
        <location filename="../src/core/Variant.cpp" line="12"/>
        <source>Press the Right Command key (⌘)</source>
        <translation>Drücken Sie die rechte Super-Taste</translation>
    </message>
    <message>
        <location filename="../src/core/Variant.cpp" line="13"/>
        <source>Speak</source>
        <translation>Sprechen</translation>
    </message>
    <message>
        <location filename="../src/core/Variant.cpp" line="14"/>
        <source>Release</source>
        <translation>Loslassen</translation>
    </message>
    <message>
        <location filename="../src/core/Variant.cpp" line="15"/>
        <source>Marten prints text wherever your cursor is</source>
        <translation>Marten schreibt den Text dort, wo Ihr Cursor steht</translation>
    </message>
    <message>
        <location filename="../src/core/Variant.cpp" line="18"/>
        <source>Hold the Right Command key</source>
        <translation>Halten Sie die rechte Super-Taste gedrückt</translation>
    </message>
    <message>
        <location filename="../src/core/Variant.cpp" line="19"/>
        <source>Speak your message</source>
        <translation>Sprechen Sie Ihre Nachricht</translation>
    </message>
    <message>
        <location filename="../src/core/Variant.cpp" line="20"/>
        <source>Release to insert text</source>
        <translation>Loslassen, um den Text einzufügen</translation>
    </message>
</context>
<context>
    <name>marten::InputAccessCommands</name>
    <message>
        <location filename="../src/screens/InputAccessCommands.cpp" line="40"/>
        <source>Let the person at this computer use keyboards and /dev/uinput</source>
        <translation>Der Person an diesem Computer Tastaturen und /dev/uinput freigeben</translation>
    </message>
    <message>
        <location filename="../src/screens/InputAccessCommands.cpp" line="48"/>
        <source>Load uinput every time the computer starts</source>
        <translation>uinput bei jedem Systemstart laden</translation>
    </message>
    <message>
        <location filename="../src/screens/InputAccessCommands.cpp" line="51"/>
        <source>Apply both now</source>
        <translation>Beides sofort anwenden</translation>
    </message>
    <message>
        <location filename="../src/screens/InputAccessCommands.cpp" line="98"/>
        <location filename="../src/screens/InputAccessCommands.cpp" line="118"/>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <location filename="../src/screens/InputAccessCommands.cpp" line="102"/>
        <location filename="../src/screens/InputAccessCommands.cpp" line="117"/>
        <source>Copied</source>
        <translation>Kopiert</translation>
    </message>
    <message>
        <location filename="../src/screens/InputAccessCommands.cpp" line="103"/>
        <source>Copy command: %1</source>
        <translation>Befehl kopieren: %1</translation>
    </message>
    <message>
        <location filename="../src/screens/InputAccessCommands.cpp" line="104"/>
        <source>Copy to the clipboard</source>
        <translation>In die Zwischenablage kopieren</translation>
    </message>
</context>
<context>
    <name>marten::InputAccessPanel</name>
    <message>
        <location filename="../src/screens/InputAccessPanel.cpp" line="40"/>
        <location filename="../src/screens/InputAccessPanel.cpp" line="123"/>
        <source>Allow input access</source>
        <translation>Eingabezugriff erlauben</translation>
    </message>
    <message>
        <location filename="../src/screens/InputAccessPanel.cpp" line="129"/>
        <source>Marten needs to see when you press the Right Command key (the right Super or Windows key) and to type the text you dictate. Granting input access means: while you are logged in at this computer, programs you run can read the keyboard and type. That is what push-to-talk needs.</source>
        <translation>Marten muss erkennen, wann Sie die rechte Super-Taste drücken (die rechte Windows-Taste, auf einer Apple-Tastatur die rechte ⌘-Taste), und den diktierten Text eingeben können. Eingabezugriff bedeutet: Solange Sie an diesem Computer angemeldet sind, können Programme, die Sie starten, die Tastatur lesen und tippen. Genau das braucht Push-to-Talk.</translation>
    </message>
    <message>
        <location filename="../src/screens/InputAccessPanel.cpp" line="75"/>
        <source>Or in a terminal:</source>
        <translation>Oder in einem Terminal:</translation>
    </message>
    <message>
        <location filename="../src/screens/InputAccessPanel.cpp" line="80"/>
        <source>The rule lets the active user at this computer read every keyboard. A keyboard a program opened stays open to it after a switch of user or to a text console, and on Wayland it reads what is typed into every window.</source>
        <translation>Die Regel lässt den aktiven Benutzer an diesem Computer jede Tastatur lesen. Ein Programm behält eine geöffnete Tastatur nach einem Benutzerwechsel oder dem Wechsel zur Textkonsole, und unter Wayland liest es, was in jedes Fenster getippt wird.</translation>
    </message>
    <message>
        <location filename="../src/screens/InputAccessPanel.cpp" line="75"/>
        <source>Run these commands in a terminal:</source>
        <translation>Führen Sie diese Befehle in einem Terminal aus:</translation>
    </message>
    <message>
        <location filename="../src/screens/InputAccessPanel.cpp" line="102"/>
        <source>Waiting for input access...</source>
        <translation>Warte auf Eingabezugriff...</translation>
    </message>
    <message>
        <location filename="../src/screens/InputAccessPanel.cpp" line="108"/>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <location filename="../src/screens/InputAccessPanel.cpp" line="112"/>
        <source>Close panel</source>
        <translation>Bereich schließen</translation>
    </message>
</context>
<context>
    <name>marten::LoadingView</name>
    <message>
        <location filename="../src/screens/LoadingView.cpp" line="44"/>
        <location filename="../src/screens/LoadingView.cpp" line="63"/>
        <source>Starting Marten...</source>
        <translation>Marten wird gestartet...</translation>
    </message>
    <message>
        <location filename="../src/screens/LoadingView.cpp" line="51"/>
        <location filename="../src/screens/LoadingView.cpp" line="63"/>
        <source>Preparing your experience...</source>
        <translation>Alles wird vorbereitet...</translation>
    </message>
</context>
<context>
    <name>marten::OnboardingWindow</name>
    <message>
        <location filename="../src/app/OnboardingWindow.cpp" line="39"/>
        <location filename="../src/app/OnboardingWindow.cpp" line="44"/>
        <source>Welcome to Marten</source>
        <translation>Willkommen bei Marten</translation>
    </message>
</context>
<context>
    <name>marten::PermissionsView</name>
    <message>
        <location filename="../src/screens/PermissionsView.cpp" line="47"/>
        <source>Accessibility Permission</source>
        <translation>Eingabezugriff</translation>
    </message>
    <message>
        <location filename="../src/core/Variant.cpp" line="39"/>
        <source>Marten needs Accessibility permission to type in your applications</source>
        <translation>Marten braucht Eingabezugriff, um in Ihren Programmen zu tippen</translation>
    </message>
    <message>
        <location filename="../src/core/Variant.cpp" line="70"/>
        <source>Marten needs permission to:</source>
        <translation>Marten braucht Eingabezugriff für:</translation>
    </message>
    <message>
        <location filename="../src/core/Variant.cpp" line="42"/>
        <source>Type transcribed text where your cursor is</source>
        <translation>Transkribierten Text dort eingeben, wo Ihr Cursor steht</translation>
    </message>
    <message>
        <location filename="../src/core/Variant.cpp" line="71"/>
        <source>Type transcribed text at your cursor</source>
        <translation>Transkribierten Text am Cursor eingeben</translation>
    </message>
    <message>
        <location filename="../src/screens/PermissionsView.cpp" line="97"/>
        <source>Detect when you press Right Command</source>
        <translation>Erkennen, wann Sie die rechte Super-Taste drücken</translation>
    </message>
    <message>
        <location filename="../src/screens/PermissionsView.cpp" line="64"/>
        <source>Open System Settings</source>
        <translation>Bereich für Eingabezugriff öffnen</translation>
    </message>
    <message>
        <location filename="../src/screens/PermissionsView.cpp" line="74"/>
        <location filename="../src/screens/PermissionsView.cpp" line="77"/>
        <location filename="../src/screens/PermissionsView.cpp" line="134"/>
        <source>Permission Granted!</source>
        <translation>Eingabezugriff erteilt!</translation>
    </message>
    <message>
        <location filename="../src/screens/PermissionsView.cpp" line="124"/>
        <source>Checking permission...</source>
        <translation>Eingabezugriff wird geprüft...</translation>
    </message>
    <message>
        <location filename="../src/screens/PermissionsView.cpp" line="148"/>
        <source>Permission granted</source>
        <translation>Eingabezugriff erteilt</translation>
    </message>
    <message>
        <location filename="../src/screens/PermissionsView.cpp" line="149"/>
        <source>Permission needed</source>
        <translation>Eingabezugriff erforderlich</translation>
    </message>
</context>
<context>
    <name>marten::ProgressBar</name>
    <message>
        <location filename="../src/ui/ProgressBar.cpp" line="19"/>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <location filename="../src/ui/ProgressBar.cpp" line="27"/>
        <source>Step %1 of %2</source>
        <translation>Schritt %1 von %2</translation>
    </message>
</context>
<context>
    <name>marten::PurchaseView</name>
    <message>
        <location filename="../src/screens/PurchaseView.cpp" line="34"/>
        <source>Upgrade to Pro</source>
        <translation>Upgrade auf Pro</translation>
    </message>
    <message>
        <location filename="../src/screens/PurchaseView.cpp" line="40"/>
        <source>Unlimited voice transcriptions</source>
        <translation>Unbegrenzte Sprachtranskriptionen</translation>
    </message>
    <message>
        <location filename="../src/screens/PurchaseView.cpp" line="48"/>
        <source>$3 per week</source>
        <translation>3 $ pro Woche</translation>
    </message>
    <message>
        <location filename="../src/screens/PurchaseView.cpp" line="52"/>
        <source>Billed every 4 weeks</source>
        <translation>Abrechnung alle 4 Wochen</translation>
    </message>
    <message>
        <location filename="../src/screens/PurchaseView.cpp" line="68"/>
        <source>Subscribe Now</source>
        <translation>Jetzt abonnieren</translation>
    </message>
    <message>
        <location filename="../src/screens/PurchaseView.cpp" line="73"/>
        <source>Skip for now (15 free uses)</source>
        <translation>Vorerst überspringen (15 kostenlose Nutzungen)</translation>
    </message>
</context>
<context>
    <name>marten::SignInView</name>
    <message>
        <location filename="../src/screens/SignInView.cpp" line="80"/>
        <source>Skip for now</source>
        <translation>Vorerst überspringen</translation>
    </message>
    <message>
        <location filename="../src/screens/SignInView.cpp" line="56"/>
        <source>Sign up or log in</source>
        <translation>Registrieren oder anmelden</translation>
    </message>
    <message>
        <location filename="../src/screens/SignInView.cpp" line="123"/>
        <location filename="../src/screens/SignInView.cpp" line="131"/>
        <location filename="../src/screens/SignInView.cpp" line="132"/>
        <source>Email or username</source>
        <translation>E-Mail oder Benutzername</translation>
    </message>
    <message>
        <location filename="../src/screens/SignInView.cpp" line="69"/>
        <source>Continue</source>
        <translation>Fortfahren</translation>
    </message>
    <message>
        <location filename="../src/screens/SignInView.cpp" line="151"/>
        <source>Coming soon</source>
        <translation>Demnächst verfügbar</translation>
    </message>
    <message>
        <location filename="../src/screens/SignInView.cpp" line="151"/>
        <source>This action will be enabled shortly.</source>
        <translation>Diese Funktion wird in Kürze freigeschaltet.</translation>
    </message>
    <message>
        <location filename="../src/screens/SignInView.cpp" line="151"/>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <location filename="../src/screens/SignInView.cpp" line="98"/>
        <source>Continue with Google</source>
        <translation>Weiter mit Google</translation>
    </message>
    <message>
        <location filename="../src/screens/SignInView.cpp" line="102"/>
        <source>Continue with Facebook</source>
        <translation>Weiter mit Facebook</translation>
    </message>
    <message>
        <location filename="../src/screens/SignInView.cpp" line="108"/>
        <source>Continue with Apple</source>
        <translation>Weiter mit Apple</translation>
    </message>
</context>
<context>
    <name>marten::Spinner</name>
    <message>
        <location filename="../src/ui/Spinner.cpp" line="15"/>
        <source>Loading</source>
        <translation>Wird geladen</translation>
    </message>
</context>
<context>
    <name>marten::TestItView</name>
    <message>
        <location filename="../src/screens/TestItView.cpp" line="120"/>
        <source>Test It Out!</source>
        <translation>Probieren Sie es aus!</translation>
    </message>
    <message>
        <location filename="../src/screens/TestItView.cpp" line="125"/>
        <source>Hold Right ⌘ and say something</source>
        <translation>Halten Sie die rechte Super-Taste gedrückt und sagen Sie etwas</translation>
    </message>
    <message>
        <location filename="../src/screens/TestItView.cpp" line="213"/>
        <location filename="../src/screens/TestItView.cpp" line="255"/>
        <source>You said:</source>
        <translation>Sie sagten:</translation>
    </message>
    <message>
        <location filename="../src/screens/TestItView.cpp" line="237"/>
        <source>Not recording</source>
        <translation>Keine Aufnahme</translation>
    </message>
    <message>
        <location filename="../src/screens/TestItView.cpp" line="138"/>
        <source>🎉 Ready to start using Marten?</source>
        <translation>🎉 Bereit, Marten zu nutzen?</translation>
    </message>
    <message>
        <location filename="../src/screens/TestItView.cpp" line="235"/>
        <location filename="../src/screens/TestItView.cpp" line="237"/>
        <source>Recording</source>
        <translation>Aufnahme läuft</translation>
    </message>
    <message>
        <location filename="../src/screens/TestItView.cpp" line="235"/>
        <source>Microphone</source>
        <translation>Mikrofon</translation>
    </message>
</context>
<context>
    <name>marten::WelcomeView</name>
    <message>
        <location filename="../src/screens/WelcomeView.cpp" line="57"/>
        <source>Welcome to Marten</source>
        <translation>Willkommen bei Marten</translation>
    </message>
    <message>
        <location filename="../src/screens/WelcomeView.cpp" line="61"/>
        <source>speak to type, anywhere</source>
        <translation>überall per Stimme tippen</translation>
    </message>
</context>
</TS>
