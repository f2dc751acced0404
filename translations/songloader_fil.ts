<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fil">
<context>
    <name>Buttons</name>
    <message>
        <source>Add to USB Drive</source>
        <translation>Idagdag sa USB</translation>
    </message>
    <message>
        <source>Auto-Check USB Drive</source>
        <translation>Hanapin ang USB</translation>
    </message>
    <message>
        <source>Auto-Generate</source>
        <translation>Bagong numero</translation>
    </message>
    <message>
        <source>Browse </source>
        <translation>Mag-browse </translation>
    </message>
    <message>
        <source>Clear Fields</source>
        <translation>Burahin</translation>
    </message>
    <message>
        <source>Cloud Midi </source>
        <translation>MIDI </translation>
    </message>
    <message>
        <source>Cloud Songs</source>
        <translation>Mga kanta</translation>
    </message>
    <message>
        <source>Export Song List</source>
        <translation>I-export</translation>
    </message>
    <message>
        <source>Print Preview</source>
        <translation>Silipin</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>I-print</translation>
    </message>
    <message>
        <source>Queue to Add</source>
        <translation>Ipila</translation>
    </message>
    <message>
        <source>Revise</source>
        <translation>Baguhin</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Piliin lahat</translation>
    </message>
    <message>
        <source>Select USB Drive</source>
        <translation>Pumili ng USB</translation>
    </message>
    <message>
        <source>Eject USB Drive</source>
        <translation>Alisin ang USB</translation>
    </message>
</context>
<context>
    <name>Cli</name>
    <message>
        <source>search the cloud catalogue copied onto the device</source>
        <translation>maghanap sa katalogo ng cloud na nakakopya sa device</translation>
    </message>
    <message>
        <source>Lists the songs of the cloud catalogue on the device (songs/Msong.db) whose
title or artist starts with TEXT (letters in any case), one per line:
number, language, title, artist, and &quot;on device&quot; when the device has it.
</source>
        <translation>Inililista ang mga kanta sa katalogo ng cloud na nasa device (songs/Msong.db) na ang
pamagat o mang-aawit ay nagsisimula sa TEXT (malaki man o maliit na titik), isa bawat
linya: numero, wika, pamagat, mang-aawit, at &quot;on device&quot; kapag nasa device ito.
</translation>
    </message>
    <message>
        <source>the songs&apos; language (default all)</source>
        <translation>ang wika ng mga kanta (all kung wala)</translation>
    </message>
    <message>
        <source>the song number, 900000 to 999999</source>
        <translation>ang numero ng kanta, 900000 hanggang 999999</translation>
    </message>
    <message>
        <source>the title</source>
        <translation>ang pamagat</translation>
    </message>
    <message>
        <source>the artist</source>
        <translation>ang mang-aawit</translation>
    </message>
    <message>
        <source>the composer</source>
        <translation>ang kompositor</translation>
    </message>
    <message>
        <source>the lyricist</source>
        <translation>ang sumulat ng liriko</translation>
    </message>
    <message>
        <source>list songs without media files and media files without songs</source>
        <translation>ilista ang mga kantang walang media file at ang mga media file na walang kanta</translation>
    </message>
    <message>
        <source>Manages the songs on the USB stick of a karaoke player: the device&apos;s song list, its catalogue,
user songs, the cloud catalogue and the MIDI song pack.
</source>
        <translation>Inaasikaso ang mga kanta sa USB stick ng isang karaoke player: ang listahan ng mga kanta ng
device, ang katalogo nito, ang sariling mga kanta, ang katalogo ng cloud at ang MIDI pack.
</translation>
    </message>
    <message>
        <source>DEVICE is the device root, the folder that holds songs/ (for a stick, its mount point).
Without DEVICE the stick is found as the window&apos;s &quot;Auto-Check USB Drive&quot; finds it (see
`songloader-cli devices`), and named on standard error. A folder inside a removable or USB
volume stands for the volume&apos;s mount point. A bare number is never taken as DEVICE.

Settings, strongest first:
  --cloud-url, SONGLOADER_CLOUD_URL, the settings file&apos;s cloud-url, the built-in address;
  --encoding, the settings file&apos;s encoding, the code page the locale implies.
The settings file is $XDG_CONFIG_HOME/songloader/songloader.conf (~/.config/songloader/ when
XDG_CONFIG_HOME is unset), lines of &quot;key = value&quot;; `songloader-cli config` shows what is in effect.
SONGLOADER_MOUNTINFO, SONGLOADER_SYSFS and SONGLOADER_MOUNT_ROOTS (folders separated by &quot;:&quot;)
replace /proc/self/mountinfo, /sys and /media:/run/media:/mnt for tests and diagnosis.

Results go to standard output, messages to standard error; progress is shown on standard
error when it is a terminal (--quiet turns it off). Exit status: 0 done, 1 failed, 2 usage error.
</source>
        <translation>Ang DEVICE ay ang ugat ng device, ang folder na may songs/ (sa isang stick, ang mount point
nito). Kapag walang DEVICE, hinahanap ang stick gaya ng paghahanap ng &quot;Auto-Check USB Drive&quot;
sa window (tingnan ang `songloader-cli devices`), at binabanggit ito sa standard error. Ang
folder sa loob ng isang removable o USB na volume ay tumatayo para sa mount point ng volume.
Hindi kailanman itinuturing na DEVICE ang isang numero lang.

Mga setting, mula sa pinakamalakas:
  --cloud-url, SONGLOADER_CLOUD_URL, ang cloud-url ng settings file, ang nakapaloob na address;
  --encoding, ang encoding ng settings file, ang code page na ipinahihiwatig ng locale.
Ang settings file ay $XDG_CONFIG_HOME/songloader/songloader.conf (~/.config/songloader/ kapag
hindi nakatakda ang XDG_CONFIG_HOME), mga linyang &quot;key = value&quot;; ipinapakita ng
`songloader-cli config` kung ano ang umiiral.
Pinapalitan ng SONGLOADER_MOUNTINFO, SONGLOADER_SYSFS at SONGLOADER_MOUNT_ROOTS (mga folder na
pinaghihiwalay ng &quot;:&quot;) ang /proc/self/mountinfo, /sys at /media:/run/media:/mnt para sa mga
pagsubok at pagsusuri.

Sa standard output napupunta ang mga resulta, sa standard error ang mga mensahe; ipinapakita
ang takbo sa standard error kapag terminal ito (inaalis ito ng --quiet). Exit status: 0 tapos,
1 nabigo, 2 maling paggamit.
</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Mga opsyon</translation>
    </message>
    <message>
        <source>Commands</source>
        <translation>Mga utos</translation>
    </message>
    <message>
        <source>print this help</source>
        <translation>ipakita ang tulong na ito</translation>
    </message>
    <message>
        <source>describe a command</source>
        <translation>ilarawan ang isang utos</translation>
    </message>
    <message>
        <source>Prints the help of COMMAND, the same text as `songloader-cli COMMAND --help`;
without COMMAND the help of the program.
</source>
        <translation>Ipinapakita ang tulong ng COMMAND, ang parehong teksto ng `songloader-cli COMMAND --help`;
kapag walang COMMAND, ang tulong ng programa.
</translation>
    </message>
    <message>
        <source>show no progress</source>
        <translation>huwag ipakita ang takbo</translation>
    </message>
    <message>
        <source>the device&apos;s code page, e.g. CP936; default: the settings file&apos;s encoding, else the one the locale implies</source>
        <translation>ang code page ng device, hal. CP936; kung wala: ang encoding ng settings file, o ang ipinahihiwatig ng locale</translation>
    </message>
    <message>
        <source>the cloud server&apos;s base address; default: SONGLOADER_CLOUD_URL, else the settings file&apos;s cloud-url, else the built-in one</source>
        <translation>ang pangunahing address ng cloud server; kung wala: SONGLOADER_CLOUD_URL, o ang cloud-url ng settings file, o ang nakapaloob</translation>
    </message>
    <message>
        <source>remove a song and its media files from the device</source>
        <translation>alisin sa device ang isang kanta at ang mga media file nito</translation>
    </message>
    <message>
        <source>Records the delete on the device, removes the media files of the song NUMBER
(every NUMBER.* in its folder), then writes the catalogue without it; works on
a full device. An interrupted delete is finished by the next writing command.
</source>
        <translation>Itinatala ang pagbura sa device, inaalis ang mga media file ng kantang NUMBER
(bawat NUMBER.* sa folder nito), saka isinusulat ang katalogo nang wala ito; gumagana
kahit puno ang device. Tinatapos ng susunod na utos na sumusulat ang naantalang pagbura.
</translation>
    </message>
    <message>
        <source>flush the device, then unmount it and power it off for safe removal</source>
        <translation>isulat ang lahat sa device, saka i-unmount at patayin ito para ligtas na alisin</translation>
    </message>
    <message>
        <source>Flushes the file system of the volume that holds DEVICE (without DEVICE: the
device the automatic search finds), then unmounts it and powers its drive off
through the system&apos;s disk service, so that it can be pulled out safely.
</source>
        <translation>Isinusulat ang lahat ng naiwan sa file system ng volume na may DEVICE (kapag walang
DEVICE: ang device na nakikita ng kusang paghahanap), saka ina-unmount ito at
pinapatay ang drive nito sa pamamagitan ng disk service ng system, para ligtas itong
mahugot.
</translation>
    </message>
    <message>
        <source>show the settings in effect and where each came from</source>
        <translation>ipakita ang mga umiiral na setting at kung saan nagmula ang bawat isa</translation>
    </message>
    <message>
        <source>Prints each setting, one a line, tab-separated: its key, its value, and where it
came from (command line, environment, settings file, locale or built in).
The settings file is $XDG_CONFIG_HOME/songloader/songloader.conf (default
~/.config/songloader/songloader.conf), lines of &quot;key = value&quot;; lines starting
with # are comments. Its keys:
  cloud-url            the cloud server&apos;s address
  encoding             the code page of the names on the device (e.g. CP1252)
  player-video-codecs  the video codecs the player plays, as ffmpeg names them
  player-audio-codecs  the audio codecs the player plays, likewise (AAC-LC: aac-lc)
  player-max-size      the largest picture the player shows, like 1920x1080
  converter            the ffmpeg program that converts what the player cannot
                       play (SONGLOADER_FFMPEG goes first; built in: ffmpeg
                       on PATH, - when there is none)
A song whose codecs or picture are not the player&apos;s is converted (--convert).
</source>
        <translation>Ipinapakita ang bawat setting, isa bawat linya, pinaghihiwalay ng tab: ang key nito,
ang value nito, at kung saan ito nagmula (command line, environment, settings file,
locale o nakapaloob). Ang settings file ay $XDG_CONFIG_HOME/songloader/songloader.conf
(kung wala, ~/.config/songloader/songloader.conf), mga linyang &quot;key = value&quot;;
komento ang mga linyang nagsisimula sa #. Ang mga key nito:
  cloud-url            ang address ng cloud server
  encoding             ang code page ng mga pangalan sa device (hal. CP1252)
  player-video-codecs  ang mga video codec ng player, sa mga pangalan ng ffmpeg
  player-audio-codecs  ang mga audio codec na pinapatugtog nito, ganoon din (AAC-LC: aac-lc)
  player-max-size      ang pinakamalaking larawang ipinapakita ng player, gaya ng 1920x1080
  converter            ang programang ffmpeg na nagko-convert ng hindi kayang patugtugin
                       ng player (nauuna ang SONGLOADER_FFMPEG; nakapaloob: ffmpeg
                       sa PATH, - kapag wala)
Kino-convert ang kantang hindi sa player ang mga codec o larawan (--convert).
</translation>
    </message>
    <message>
        <source>list the volumes that can be the device</source>
        <translation>ilista ang mga volume na maaaring maging device</translation>
    </message>
    <message>
        <source>Lists the mounted volumes the automatic search considers, one a line, tab-separated:
a * for the one it chooses (the one commands take without DEVICE), the mount point,
the label, the size, removable or fixed (with usb for a disk on USB), and
songs/SgList.dat when the volume holds a song list, else -.
Exit 1 with &quot;Please insert device!!&quot; when it would choose none.
</source>
        <translation>Inililista ang mga naka-mount na volume na tinitingnan ng kusang paghahanap, isa bawat
linya, pinaghihiwalay ng tab: isang * para sa pipiliin nito (ang kinukuha ng mga utos
kapag walang DEVICE), ang mount point, ang label, ang laki, removable o fixed (may usb
para sa disk na nasa USB), at songs/SgList.dat kapag may listahan ng kanta ang volume,
kung wala ay -. Lumalabas na 1 na may &quot;Please insert device!!&quot; kapag wala itong pipiliin.
</translation>
    </message>
    <message>
        <source>copy a media file onto the device as a user song</source>
        <translation>kopyahin sa device ang isang media file bilang sariling kanta</translation>
    </message>
    <message>
        <source>update the device&apos;s MIDI song pack from the cloud</source>
        <translation>i-update mula sa cloud ang MIDI pack ng device</translation>
    </message>
    <message>
        <source>Updates the MIDI song pack: DEVICE/midi/sglist.dat, sgmusic.dat, sgmsg.dat and
DEVICE/midisongsbook.pdf, in this order, each downloaded when its size differs
from the cloud&apos;s; the first file of unchanged size ends the update.
</source>
        <translation>Ina-update ang MIDI pack: DEVICE/midi/sglist.dat, sgmusic.dat, sgmsg.dat at
DEVICE/midisongsbook.pdf, sa ganitong ayos, bawat isa ay dina-download kapag iba ang
laki nito sa nasa cloud; tinatapos ang pag-update ng unang file na hindi nagbago ang laki.
</translation>
    </message>
    <message>
        <source>print the device&apos;s songs</source>
        <translation>ipakita ang mga kanta ng device</translation>
    </message>
    <message>
        <source>Prints the device&apos;s songs, one per line, tab-separated:
number, language, title, artist, composer, lyricist (UTF-8).
</source>
        <translation>Ipinapakita ang mga kanta ng device, isa bawat linya, pinaghihiwalay ng tab:
numero, wika, pamagat, mang-aawit, kompositor, sumulat ng liriko (UTF-8).
</translation>
    </message>
    <message>
        <source>write the device&apos;s song list as an export file</source>
        <translation>isulat ang listahan ng mga kanta ng device bilang export file</translation>
    </message>
    <message>
        <source>Writes the device&apos;s song list to FILE as tab-separated text (LF line ends),
texts in the device&apos;s own bytes, ready for a spreadsheet.
</source>
        <translation>Isinusulat ang listahan ng mga kanta ng device sa FILE bilang tekstong pinaghihiwalay ng
tab (LF ang dulo ng linya), ang mga teksto sa sariling bytes ng device, handa para sa
spreadsheet.
</translation>
    </message>
    <message>
        <source>build the files of a cloud server from a song table</source>
        <translation>buuin ang mga file ng isang cloud server mula sa talaan ng mga kanta</translation>
    </message>
    <message>
        <source>Builds the files of a cloud server in OUT from a UTF-8 table with one song per line and
seven TAB-separated fields: number, language (EG, CN, ES, FH, GN, IA, OPM, MA, HW, JP,
KR, VT, RU, AR, TH or Other), title, artist, composer, lyricist, media file (relative
to the table&apos;s folder). A first line starting with &quot;number&quot; is a header.
Writes OUT/MgList.dat, OUT/Msong.db and OUT/&lt;number&gt;.mp4 per song; with --midi-dir,
also the MIDI pack from DIR (sglist.dat, sgmusic.dat, sgmsg.dat, midisongsbook.pdf)
under the names the cloud uses. Any static HTTP server can then serve OUT.
Texts are stored in the device code page (see --encoding). Bad rows are
reported with their line number, and then nothing is written.
</source>
        <translation>Binubuo sa OUT ang mga file ng isang cloud server mula sa isang UTF-8 na talaan na may isang
kanta bawat linya at pitong field na pinaghihiwalay ng TAB: numero, wika (EG, CN, ES, FH,
GN, IA, OPM, MA, HW, JP, KR, VT, RU, AR, TH o Other), pamagat, mang-aawit, kompositor,
sumulat ng liriko, media file (kaugnay sa folder ng talaan). Header ang unang linyang
nagsisimula sa &quot;number&quot;.
Isinusulat ang OUT/MgList.dat, OUT/Msong.db at OUT/&lt;number&gt;.mp4 bawat kanta; kapag may
--midi-dir, pati ang MIDI pack mula sa DIR (sglist.dat, sgmusic.dat, sgmsg.dat,
midisongsbook.pdf) sa mga pangalang ginagamit ng cloud. Pagkatapos, kayang ihain ng
kahit anong static na HTTP server ang OUT. Itinatago ang mga teksto sa code page ng
device (tingnan ang --encoding). Binabanggit ang maling hanay kasama ang numero ng linya
nito, at sa gayon ay walang isinusulat.
</translation>
    </message>
    <message>
        <source>also publish the MIDI pack found in DIR</source>
        <translation>ilathala rin ang MIDI pack na nasa DIR</translation>
    </message>
    <message>
        <source>print the device&apos;s song list into a PDF file</source>
        <translation>i-print sa isang PDF file ang listahan ng mga kanta ng device</translation>
    </message>
    <message>
        <source>Prints the device&apos;s song list into a PDF file, portrait, 40 songs a page:
&quot;Page N&quot;, a rule and a table of number, title and artist.
</source>
        <translation>Ipini-print sa isang PDF file ang listahan ng mga kanta ng device, patayo, 40 kanta bawat
pahina: &quot;Page N&quot;, isang guhit at isang talaan ng numero, pamagat at mang-aawit.
</translation>
    </message>
    <message>
        <source>the paper size (default A4)</source>
        <translation>ang laki ng papel (A4 kung wala)</translation>
    </message>
    <message>
        <source>download the cloud song list and catalogue onto the device</source>
        <translation>i-download sa device ang listahan ng mga kanta at ang katalogo ng cloud</translation>
    </message>
    <message>
        <source>Downloads the cloud song list (MgList.dat) and the cloud catalogue (Msong.db)
into DEVICE/songs/ and tells how many cloud songs there are and how many of
them the device already holds. Both files are checked first; a failed
download or check keeps both old files. Ctrl-C stops it.
</source>
        <translation>Dina-download ang listahan ng mga kanta ng cloud (MgList.dat) at ang katalogo ng cloud
(Msong.db) sa DEVICE/songs/ at sinasabi kung ilan ang kanta sa cloud at ilan sa mga ito
ang nasa device na. Sinusuri muna ang dalawang file; kapag nabigo ang pag-download o
ang pagsusuri, nananatili ang dalawang lumang file. Itinitigil ito ng Ctrl-C.
</translation>
    </message>
    <message>
        <source>download cloud songs the device lacks and add them</source>
        <translation>i-download ang mga kanta sa cloud na wala pa sa device at idagdag ang mga ito</translation>
    </message>
    <message>
        <source>Downloads the videos of the given cloud songs that the device lacks into
DEVICE/songs/NNN/NUMBER.mp4, adds them with their titles and all from the cloud
list (run cloud-sync first) and rebuilds the device catalogue. Songs whose
download fails are named and not added. Ctrl-C cancels the running download.
</source>
        <translation>Dina-download sa DEVICE/songs/NNN/NUMBER.mp4 ang mga video ng mga ibinigay na kanta sa
cloud na wala pa sa device, idinaragdag ang mga ito kasama ang mga pamagat at iba pa
mula sa listahan ng cloud (patakbuhin muna ang cloud-sync) at binubuong muli ang
katalogo ng device. Binabanggit at hindi idinaragdag ang mga kantang nabigong
ma-download. Kinakansela ng Ctrl-C ang kasalukuyang pag-download.
</translation>
    </message>
    <message>
        <source>rebuild SgList.dat and usbsong.db from the device&apos;s song list</source>
        <translation>buuing muli ang SgList.dat at usbsong.db mula sa listahan ng mga kanta ng device</translation>
    </message>
    <message>
        <source>Reads songs/SgList.dat and writes SgList.dat and usbsong.db anew from it,
songs in the order read. An unchanged list gives the same bytes.
</source>
        <translation>Binabasa ang songs/SgList.dat at isinusulat nang panibago mula rito ang SgList.dat at
usbsong.db, ang mga kanta sa ayos ng pagkabasa. Parehong bytes ang bunga ng listahang
hindi nagbago.
</translation>
    </message>
    <message>
        <source>change a song on the device</source>
        <translation>baguhin ang isang kanta sa device</translation>
    </message>
    <message>
        <source>Changes the device&apos;s song NUMBER as the window&apos;s &quot;Revise&quot; does: the options given
replace its values, the others stay. A new --number must be free on the device and
passes the number box&apos;s checks; then every file of the song (NUMBER and NUMBER.*)
moves to the new number, all or none, and the catalogue is rebuilt. When a check or a
step fails, nothing on the device changes.
</source>
        <translation>Binabago ang kantang NUMBER ng device gaya ng ginagawa ng &quot;Revise&quot; sa window: pinapalitan
ng mga ibinigay na opsyon ang mga value nito, nananatili ang iba. Ang bagong --number ay
dapat bakante sa device at pumapasa sa mga pagsusuri ng kahon ng numero; saka lilipat sa
bagong numero ang bawat file ng kanta (NUMBER at NUMBER.*), lahat o wala, at binubuong
muli ang katalogo. Kapag nabigo ang isang pagsusuri o hakbang, walang nababago sa device.
</translation>
    </message>
    <message>
        <source>copy many media files onto the device as user songs</source>
        <translation>kopyahin sa device ang maraming media file bilang sariling mga kanta</translation>
    </message>
    <message>
        <source>the language of every song: OPM, EG or ES (default: language in the settings file)</source>
        <translation>ang wika ng bawat kanta: OPM, EG o ES (kung wala: ang language sa settings file)</translation>
    </message>
    <message>
        <source>the artist of every song, instead of the one found</source>
        <translation>ang mang-aawit ng bawat kanta, sa halip na ang nakita</translation>
    </message>
    <message>
        <source>print what would be added, and why files would be left out; copy nothing</source>
        <translation>ipakita kung ano ang idaragdag at kung bakit may hindi isasamang file; walang kokopyahin</translation>
    </message>
    <message>
        <source>add songs whose title and artist are already there too</source>
        <translation>idagdag din ang mga kantang naroon na ang pamagat at mang-aawit</translation>
    </message>
    <message>
        <source>Lists the songs of the device&apos;s list without a media file, the media files in
the song folders that no song of the list owns, the songs on which the list
and the database disagree (rebuild mends them), temporary files that
interrupted runs left (the next writing command removes them), records of
interrupted writes (the next writing command finishes them) and records that
could not be read and were set aside (*.bad: look at them, then remove them),
and user songs whose files the player will not play (their container, codecs or
picture size; the player profile can be changed in the settings file).
Exit 1 when there is any.
</source>
        <translation>Inililista ang mga kanta sa listahan ng device na walang media file, ang mga media
file sa mga folder ng kanta na hindi pag-aari ng alinmang kanta sa listahan, ang mga
kantang hindi magkatugma sa listahan at sa database (inaayos ito ng rebuild), ang mga
pansamantalang file na iniwan ng mga naantalang takbo (inaalis ito ng susunod na
utos na sumusulat), ang mga tala ng naantalang pagsulat (tinatapos ito ng susunod na
utos na sumusulat), ang mga talang hindi mabasa at itinabi (*.bad: tingnan ang mga
ito, saka alisin), at ang sariling mga kanta na ang file ay hindi patutugtugin ng
player (dahil sa container, codec o laki ng larawan; mababago ang profile ng player sa
settings file). Lumalabas na 1 kapag mayroon kahit isa.
</translation>
    </message>
    <message>
        <source>convert files the player plays only after conversion into MP4 (H.264, AAC) first, with the ffmpeg program</source>
        <translation>i-convert muna sa MP4 (H.264, AAC) gamit ang programang ffmpeg ang mga file na tinutugtog lang ng player kapag na-convert</translation>
    </message>
    <message>
        <source>measure each song&apos;s loudness and set it to -16 LUFS (true peak -1.5 dBTP) unless it is within 1 LU already</source>
        <translation>sukatin ang lakas ng bawat kanta at itakda ito sa -16 LUFS (true peak -1.5 dBTP) maliban kung nasa loob na ito ng 1 LU</translation>
    </message>
    <message>
        <source>Copies MEDIA onto the device as a user song and rebuilds the catalogue, then prints
the song&apos;s number alone on standard output (n=$(songloader-cli add ...) takes it).
Without --number the next free user number from 900000 is taken.
Without --language the song is filed under Other.
A file the player plays only after conversion is refused (exit 1) unless --convert is
given: it is then converted into MP4 (H.264, AAC) by the ffmpeg program on this computer
and stored as NUMBER.mp4. Ctrl-C while it converts ends the converter and adds nothing.
</source>
        <translation>Kinokopya ang MEDIA sa device bilang sariling kanta at binubuong muli ang katalogo, saka
ipinapakita ang numero lang ng kanta sa standard output (kinukuha ito ng
n=$(songloader-cli add ...)). Kapag walang --number, kinukuha ang susunod na bakanteng
numero mula 900000. Kapag walang --language, inilalagay ang kanta sa Other.
Tinatanggihan (lumalabas na 1) ang file na tinutugtog lang ng player kapag na-convert,
maliban kung may --convert: saka ito iko-convert sa MP4 (H.264, AAC) ng programang
ffmpeg sa computer na ito at itatago bilang NUMBER.mp4. Tinatapos ng Ctrl-C habang
nagko-convert ang converter at walang idinaragdag.
</translation>
    </message>
    <message>
        <source>Copies every media file named by PATH (a file, or a folder walked with its sub-folders;
hidden files and folders and the device&apos;s own songs folder are left out) onto the device
as user songs and rebuilds the catalogue once. A first operand is taken as DEVICE only
when it is a folder holding songs/ or a mount point.
Each file is checked first: one the player cannot play, one whose title and artist are
already on the device or earlier in the batch, or one whose texts the device cannot store
is named on standard error and left out. Titles, artists, composers and lyricists come
from the files&apos; tags, else from names like &quot;01 - Artist - Title.mp4&quot;. Songs take the
lowest free numbers from 900000 in the order of their paths.
Prints one line per song added: number, title, artist and source file, tab-separated.
A folder that cannot be read, and a PATH inside the device&apos;s songs folder, are named
and left out. A file the player plays only after conversion (another container, codec or
a picture larger than 1920x1080) is named and left out unless --convert is given: it is
then converted on this computer into MP4 (H.264, AAC) by the ffmpeg program before it is
copied. --loudness sets every song to -16 LUFS, unless it is within 1 LU already.
Exit status: 0 when every file was added, 1 when any was left out, 2 on usage errors.
A batch that does not fit on the device (its files in whole blocks, with the new
catalogue) or would take the device past 49999 songs copies nothing. Ctrl-C stops after
the current file (a conversion running ends at once, leaving nothing); the songs copied
by then are catalogued.
</source>
        <translation>Kinokopya sa device bilang sariling mga kanta ang bawat media file na tinutukoy ng PATH
(isang file, o isang folder na iniikot kasama ang mga sub-folder nito; hindi kasama ang
mga nakatagong file at folder at ang sariling folder ng mga kanta ng device) at binubuong
muli nang minsan ang katalogo. Itinuturing na DEVICE ang unang operand kapag folder lang
ito na may songs/ o isang mount point.
Sinusuri muna ang bawat file: ang hindi kayang patugtugin ng player, ang may pamagat at
mang-aawit na nasa device na o nauna na sa batch, o ang may tekstong hindi kayang itago
ng device ay binabanggit sa standard error at hindi isinasama. Ang mga pamagat, mang-aawit,
kompositor at sumulat ng liriko ay kinukuha sa mga tag ng file, o sa mga pangalang gaya ng
&quot;01 - Mang-aawit - Pamagat.mp4&quot;. Kinukuha ng mga kanta ang pinakamababang bakanteng
numero mula 900000 ayon sa ayos ng kanilang path.
Nagpapakita ng isang linya bawat kantang naidagdag: numero, pamagat, mang-aawit at
pinagmulang file, pinaghihiwalay ng tab.
Binabanggit at hindi isinasama ang folder na hindi mabasa at ang PATH na nasa loob ng
folder ng mga kanta ng device. Binabanggit at hindi isinasama ang file na tinutugtog lang
ng player kapag na-convert (ibang container, codec o larawang mas malaki sa 1920x1080),
maliban kung may --convert: saka ito iko-convert ng programang ffmpeg sa computer na ito
sa MP4 (H.264, AAC) bago kopyahin. Itinatakda ng --loudness ang bawat kanta sa -16 LUFS,
maliban kung nasa loob na ito ng 1 LU.
Exit status: 0 kapag naidagdag ang bawat file, 1 kapag may hindi naisama, 2 sa maling
paggamit.
Walang kinokopya ang batch na hindi kasya sa device (ang mga file nito sa buong block,
kasama ang bagong katalogo) o magdadala sa device nang lampas sa 49999 kanta. Humihinto
ang Ctrl-C pagkatapos ng kasalukuyang file (agad natatapos ang conversion na tumatakbo at
walang naiiwan); nakakatalogo ang mga kantang nakopya na noon.
</translation>
    </message>
</context>
<context>
    <name>Core</name>
    <message>
        <source>Trallix Song Loader for Windows(for MKV,TS,VOB,DAT,AVI,MPG,MP4,FLV) V:%s</source>
        <translation>Trallix Song Loader para sa Linux (MKV, TS, VOB, DAT, AVI, MPG, MP4, FLV) V:%1</translation>
    </message>
    <message>
        <source>About  Trallix Song Loader for Windows(&amp;A)...</source>
        <translation>&amp;Tungkol sa Trallix Song Loader para sa Linux...</translation>
    </message>
    <message>
        <source>Trallix Song Loader for Windows</source>
        <translation>Trallix Song Loader para sa Linux</translation>
    </message>
    <message>
        <source>Trallix Song Loader V%s for Windows</source>
        <translation>Trallix Song Loader V%1 para sa Linux</translation>
    </message>
    <message>
        <source>by title or artist.</source>
        <translation>pamagat o artista.</translation>
    </message>
    <message>
        <source>选择目标文件夹</source>
        <translation>Piliin ang folder na paglalagyan</translation>
    </message>
    <message>
        <source>選擇目標文件夾</source>
        <translation>Piliin ang folder na paglalagyan</translation>
    </message>
    <message>
        <source>All Files (*.*)|*.*|MP3 Files (*.mp3)|*.mp3|MP4 Files (*.avi;*.dat;*.mp4)|*.avi;*.dat;*mp4||</source>
        <translation>Lahat ng file (*.*)|*.*|Mga MP3 file (*.mp3)|*.mp3|Mga MP4 file (*.avi;*.dat;*.mp4)|*.avi;*.dat;*mp4||</translation>
    </message>
    <message>
        <source>Please choose a language first.</source>
        <translation>Pumili muna ng wika.</translation>
    </message>
    <message>
        <source>These files were not queued:</source>
        <translation>Hindi naipila ang mga file na ito:</translation>
    </message>
    <message>
        <source>These files repeat songs already on the USB drive or in the list:</source>
        <translation>Inuulit ng mga file na ito ang mga kantang nasa USB drive o nasa listahan na:</translation>
    </message>
    <message>
        <source>Queue them anyway?</source>
        <translation>Ipila pa rin ang mga ito?</translation>
    </message>
    <message>
        <source>xls Files (*.xls)|*.xls||</source>
        <translation>Mga xls file (*.xls)|*.xls||</translation>
    </message>
    <message>
        <source> Number</source>
        <translation> Numero</translation>
    </message>
    <message>
        <source>Lang</source>
        <translation>Wika</translation>
    </message>
    <message>
        <source>      Title</source>
        <translation>      Pamagat</translation>
    </message>
    <message>
        <source>Artist</source>
        <translation>Mang-aawit</translation>
    </message>
    <message>
        <source>Composer</source>
        <translation>Kompositor</translation>
    </message>
    <message>
        <source>Lyricist</source>
        <translation>Lirisista</translation>
    </message>
    <message>
        <source>Please insert device!!</source>
        <translation>Pakisaksak ang device!!</translation>
    </message>
    <message>
        <source>Please select file</source>
        <translation>Pumili ng file</translation>
    </message>
    <message>
        <source>File Path is Invaild</source>
        <translation>Hindi wasto ang lokasyon ng file</translation>
    </message>
    <message>
        <source>Exit without adding any song?</source>
        <translation>Lumabas nang walang idinaragdag na kanta?</translation>
    </message>
    <message>
        <source>The queued songs have not been added to the USB drive. Exit anyway?</source>
        <translation>Hindi pa naidaragdag sa USB drive ang mga kantang nakapila. Lumabas pa rin?</translation>
    </message>
    <message>
        <source>Confirm song deletion?</source>
        <translation>Tiyak bang buburahin ang kanta?</translation>
    </message>
    <message>
        <source>The song has been downloaded!</source>
        <translation>Na-download na ang kanta!</translation>
    </message>
    <message>
        <source>Please select song!</source>
        <translation>Pumili ng kanta!</translation>
    </message>
    <message>
        <source>Please download cloud data!!</source>
        <translation>I-download muna ang datos mula sa cloud!!</translation>
    </message>
    <message>
        <source>Please download cloud data!</source>
        <translation>I-download muna ang datos mula sa cloud!</translation>
    </message>
    <message>
        <source>check cloud database ok</source>
        <translation>maayos ang database sa cloud</translation>
    </message>
    <message>
        <source>Please Select Disk</source>
        <translation>Pumili ng disk</translation>
    </message>
    <message>
        <source>%s songs</source>
        <translation>%1 kanta</translation>
    </message>
    <message>
        <source>1 song</source>
        <translation>1 kanta</translation>
    </message>
    <message>
        <source>No songs found</source>
        <translation>Walang nakitang kanta</translation>
    </message>
    <message>
        <source>%s on the USB drive, %s free</source>
        <translation>%1 sa USB drive, %2 ang bakante</translation>
    </message>
    <message>
        <source>%s is a device&apos;s songs folder; give the device itself: %s</source>
        <translation>Ang %1 ay folder ng mga kanta ng isang device; ang device mismo ang ibigay: %2</translation>
    </message>
    <message>
        <source>%s has no songs folder. Create one there and use this folder as the USB drive?</source>
        <translation>Walang folder ng mga kanta ang %1. Gumawa ng isa roon at gamitin ang folder na ito bilang USB drive?</translation>
    </message>
    <message>
        <source>Delete %s %s?</source>
        <translation>Burahin ang %1 %2?</translation>
    </message>
    <message>
        <source>Download %s cloud songs (%s) to the USB drive? It has %s free.</source>
        <translation>I-download ang %1 kanta mula sa cloud (%2) sa USB drive? May %3 pa itong bakante.</translation>
    </message>
    <message>
        <source>The size of %s of them is not known.</source>
        <translation>Hindi alam ang laki ng %1 sa mga ito.</translation>
    </message>
    <message>
        <source>These cloud songs repeat songs already on the USB drive:</source>
        <translation>Inuulit ng mga kantang ito mula sa cloud ang mga kantang nasa USB drive na:</translation>
    </message>
    <message>
        <source>Add them anyway?</source>
        <translation>Idagdag pa rin ang mga ito?</translation>
    </message>
    <message>
        <source>%s queued songs were changed.</source>
        <translation>Nabago ang %1 kantang nakapila.</translation>
    </message>
    <message>
        <source>Download Progress</source>
        <translation>Takbo ng pag-download</translation>
    </message>
    <message>
        <source>Now Download:</source>
        <translation>Dina-download: </translation>
    </message>
    <message>
        <source>These songs could not be copied to the device and stay in the list:</source>
        <translation>Hindi makopya sa device ang mga kantang ito at nananatili sila sa listahan:</translation>
    </message>
    <message>
        <source>These songs could not be downloaded and were not added:</source>
        <translation>Hindi ma-download ang mga kantang ito at hindi sila naidagdag:</translation>
    </message>
    <message>
        <source>These songs were added:</source>
        <translation>Naidagdag ang mga kantang ito:</translation>
    </message>
    <message>
        <source>The cloud catalogue could not be downloaded:</source>
        <translation>Hindi ma-download ang katalogo mula sa cloud:</translation>
    </message>
    <message>
        <source>These files of the MIDI pack could not be downloaded:</source>
        <translation>Hindi ma-download ang mga file na ito ng MIDI pack:</translation>
    </message>
    <message>
        <source>The device&apos;s song list could not be read; nothing was written.</source>
        <translation>Hindi mabasa ang listahan ng mga kanta ng device; walang isinulat.</translation>
    </message>
    <message>
        <source>The song&apos;s texts hold characters that the device&apos;s character set (%s) cannot store.</source>
        <translation>May mga titik sa teksto ng kanta na hindi kayang itago ng character set ng device (%1).</translation>
    </message>
    <message>
        <source>Eject USB Drive</source>
        <translation>Alisin ang USB</translation>
    </message>
    <message>
        <source>USB drive found at %s: choose it with Auto-Check USB Drive.</source>
        <translation>May USB drive sa %1: piliin ito gamit ang Hanapin ang USB.</translation>
    </message>
    <message>
        <source>Another program changed the song list on the USB drive. It has been read again and nothing was written: check the list and try again.</source>
        <translation>Binago ng ibang programa ang listahan ng mga kanta sa USB drive. Binasa itong muli at walang isinulat: suriin ang listahan at subukang muli.</translation>
    </message>
    <message>
        <source>Songs were copied to the USB drive but its song list was not rebuilt yet; the drive was not ejected.</source>
        <translation>Nakopya ang mga kanta sa USB drive pero hindi pa nabubuong muli ang listahan ng mga kanta nito; hindi inalis ang drive.</translation>
    </message>
    <message>
        <source>The USB drive cannot be ejected from this program.</source>
        <translation>Hindi maaalis ang USB drive mula sa programang ito.</translation>
    </message>
    <message>
        <source> is not a video or audio file.</source>
        <translation> ay hindi video o audio file.</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Paalala</translation>
    </message>
    <message>
        <source>NOTE</source>
        <translation>PAALALA</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Mali</translation>
    </message>
    <message>
        <source>ERROR</source>
        <translation>MALI</translation>
    </message>
    <message>
        <source>Export Songlist OK!</source>
        <translation>Na-export na ang listahan ng mga kanta!</translation>
    </message>
    <message>
        <source>Please save file</source>
        <translation>I-save ang file</translation>
    </message>
    <message>
        <source>Cannot create the export file.</source>
        <translation>Hindi magawa ang file na ie-export.</translation>
    </message>
    <message>
        <source>have row error: Existence of a number of rows with inconsistency</source>
        <translation>may mali sa hanay: hindi tugma ang bilang ng mga hanay</translation>
    </message>
    <message>
        <source>have row Error:There is extra space!</source>
        <translation>may mali sa hanay: may sobrang puwang!</translation>
    </message>
    <message>
        <source>have row Error:There could not distinguish characters!</source>
        <translation>may mali sa hanay: may mga titik na hindi makilala!</translation>
    </message>
    <message>
        <source>行出现错误:歌号太长</source>
        <translation>may mali sa hanay: masyadong mahaba ang numero ng kanta</translation>
    </message>
    <message>
        <source>have row error:Country ID is wrong!</source>
        <translation>may mali sa hanay: mali ang code ng wika!</translation>
    </message>
    <message>
        <source>have row error!</source>
        <translation>may mali sa hanay!</translation>
    </message>
    <message>
        <source>have row error:Song name characters is wrong!</source>
        <translation>may mali sa hanay: mali ang mga titik ng pangalan ng kanta!</translation>
    </message>
    <message>
        <source>1 Read Temp File Error!</source>
        <translation>1 Hindi mabasa ang pansamantalang file!</translation>
    </message>
    <message>
        <source>2 Read Temp File Error!</source>
        <translation>2 Hindi mabasa ang pansamantalang file!</translation>
    </message>
    <message>
        <source>Temp File Analyse Error!</source>
        <translation>Hindi masuri ang pansamantalang file!</translation>
    </message>
    <message>
        <source>Failure SgNumber Sort File Error Memory Failure!</source>
        <translation>Kulang ang memory sa pag-aayos ayon sa numero ng kanta!</translation>
    </message>
    <message>
        <source>Failure Sort File Error Memory Failure</source>
        <translation>Kulang ang memory sa pag-aayos ng file</translation>
    </message>
    <message>
        <source>Create SgList.Dat Fail!</source>
        <translation>Hindi magawa ang SgList.Dat!</translation>
    </message>
    <message>
        <source>not copied: the batch was stopped before it</source>
        <translation>hindi nakopya: itinigil ang batch bago ito</translation>
    </message>
    <message>
        <source>An interrupted change of the USB drive is not finished yet; nothing was added.</source>
        <translation>Hindi pa tapos ang naantalang pagbabago sa USB drive; walang idinagdag.</translation>
    </message>
    <message>
        <source> is inside the device&apos;s songs folder; its songs are on the device already</source>
        <translation> ay nasa loob ng folder ng mga kanta ng device; nasa device na ang mga kanta nito</translation>
    </message>
    <message>
        <source>The first digit of song number must be 9</source>
        <translation>Dapat 9 ang unang digit ng numero ng kanta</translation>
    </message>
    <message>
        <source>Song number must be 900000 to 999999!</source>
        <translation>Dapat mula 900000 hanggang 999999 ang numero ng kanta!</translation>
    </message>
    <message>
        <source>Please complete information</source>
        <translation>Pakikumpleto ang impormasyon</translation>
    </message>
    <message>
        <source>Invaild directory!</source>
        <translation>Hindi wasto ang folder!</translation>
    </message>
    <message>
        <source>Song number?must?be?six?digit from 900000 to 999999!</source>
        <translation>Dapat anim na digit ang numero ng kanta, mula 900000 hanggang 999999!</translation>
    </message>
    <message>
        <source>Please enter song title</source>
        <translation>Ilagay ang pamagat ng kanta</translation>
    </message>
    <message>
        <source>Song number is duplicate</source>
        <translation>Doble ang numero ng kanta</translation>
    </message>
    <message>
        <source>Song number is duplicate with existing file of device</source>
        <translation>Mayroon nang ganitong numero ng kanta sa device</translation>
    </message>
    <message>
        <source>Added successfully</source>
        <translation>Matagumpay na naidagdag</translation>
    </message>
    <message>
        <source>Revised successfully!</source>
        <translation>Matagumpay na nabago!</translation>
    </message>
    <message>
        <source>Song deleted successfully</source>
        <translation>Matagumpay na nabura ang kanta</translation>
    </message>
    <message>
        <source>not added: the catalogue could not be written with it, so its copy was taken off the device again</source>
        <translation>hindi naidagdag: hindi maisulat ang katalogo kasama ito, kaya inalis muli sa device ang kopya nito</translation>
    </message>
    <message>
        <source>%s is not a name a song&apos;s file can be stored under on the device</source>
        <translation>Ang %1 ay hindi pangalang maaaring gamitin sa file ng kanta sa device</translation>
    </message>
    <message>
        <source>The song&apos;s files are removed, but the catalogue still lists it; delete it again once the catalogue can be written.</source>
        <translation>Naalis na ang mga file ng kanta, pero nakalista pa ito sa katalogo; burahin itong muli kapag maisusulat na ang katalogo.</translation>
    </message>
    <message>
        <source>The media file of song %s is not on the device; nothing was changed.</source>
        <translation>Wala sa device ang media file ng kantang %1; walang binago.</translation>
    </message>
    <message>
        <source>The media file could not be moved; nothing was changed.
%s</source>
        <translation>Hindi mailipat ang media file; walang binago.
%1</translation>
    </message>
    <message>
        <source>Please check network!!</source>
        <translation>Pakisuri ang network!!</translation>
    </message>
    <message>
        <source>No new songs available!</source>
        <translation>Walang bagong kanta!</translation>
    </message>
    <message>
        <source>The device is busy with another song loader command.</source>
        <translation>Abala ang device sa ibang utos ng song loader.</translation>
    </message>
    <message>
        <source>The USB drive was removed or changed. Choose it again with Auto-Check USB Drive or Select USB Drive.</source>
        <translation>Inalis o pinalitan ang USB drive. Piliin itong muli gamit ang Hanapin ang USB o Pumili ng USB.</translation>
    </message>
    <message>
        <source>The USB drive can now be removed safely.</source>
        <translation>Ligtas nang alisin ang USB drive.</translation>
    </message>
    <message>
        <source> is not a song catalogue</source>
        <translation> ay hindi katalogo ng mga kanta</translation>
    </message>
    <message>
        <source>OPM[Tagalog]</source>
        <translation>OPM[Tagalog]</translation>
    </message>
    <message>
        <source>EG[English]</source>
        <translation>EG[Ingles]</translation>
    </message>
    <message>
        <source>ES[Spanish]</source>
        <translation>ES[Espanyol]</translation>
    </message>
    <message>
        <source>All Languages</source>
        <translation>Lahat ng wika</translation>
    </message>
    <message>
        <source>Other </source>
        <translation>Iba pa </translation>
    </message>
    <message>
        <source>Songs added to the USB drive</source>
        <translation>Naidagdag ang mga kanta sa USB drive</translation>
    </message>
    <message>
        <source>No song was added to the USB drive</source>
        <translation>Walang kantang naidagdag sa USB drive</translation>
    </message>
    <message>
        <source>Some songs were not added</source>
        <translation>May mga kantang hindi naidagdag</translation>
    </message>
    <message>
        <source>Added 1 song: %s.</source>
        <translation>Naidagdag ang 1 kanta: %1.</translation>
    </message>
    <message>
        <source>Added %s songs: %s.</source>
        <translation>Naidagdag ang %1 kanta: %2.</translation>
    </message>
    <message>
        <source>Added %s songs: %s and %s more.</source>
        <translation>Naidagdag ang %1 kanta: %2 at %3 pa.</translation>
    </message>
    <message>
        <source>Failed: %s</source>
        <translation>Nabigo: %1</translation>
    </message>
    <message>
        <source>Nothing was added.</source>
        <translation>Walang naidagdag.</translation>
    </message>
    <message>
        <source>%s files must be converted first; this takes about %s minutes. Convert them?</source>
        <translation>Kailangan munang i-convert ang %1 file; aabutin ito nang mga %2 minuto. I-convert ang mga ito?</translation>
    </message>
    <message>
        <source>Converting %s of %s: %s% (all: %s%)</source>
        <translation>Kino-convert ang %1 sa %2: %3% (lahat: %4%)</translation>
    </message>
    <message>
        <source>, about %s left</source>
        <translation>, mga %1 pa</translation>
    </message>
    <message>
        <source>not converted: the batch was stopped</source>
        <translation>hindi na-convert: itinigil ang batch</translation>
    </message>
    <message>
        <source>Converting songs needs the ffmpeg program, which was not found; install the package ffmpeg (sudo apt install ffmpeg).</source>
        <translation>Kailangan ng programang ffmpeg para mag-convert ng mga kanta, pero hindi ito nakita; i-install ang package na ffmpeg (sudo apt install ffmpeg).</translation>
    </message>
    <message>
        <source> cannot be read: no decoder knows its %s (damaged or unknown).</source>
        <translation> ay hindi mabasa: walang decoder na nakakakilala sa %1 nito (sira o hindi kilala).</translation>
    </message>
</context>
<context>
    <name>QPlatformTheme</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Oo</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Hindi</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Kanselahin</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Isara</translation>
    </message>
</context>
<context>
    <name>WindowLayout</name>
    <message>
        <source>USB Drive</source>
        <translation>USB</translation>
    </message>
    <message>
        <source>Number</source>
        <translation>Numero</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Wika</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Pamagat</translation>
    </message>
    <message>
        <source>Artist</source>
        <translation>Mang-aawit</translation>
    </message>
    <message>
        <source>Composer</source>
        <translation>Kompositor</translation>
    </message>
    <message>
        <source>Lyricist</source>
        <translation>Lirisista</translation>
    </message>
    <message>
        <source>Media File</source>
        <translation>File ng media</translation>
    </message>
    <message>
        <source>Cloud</source>
        <translation>Sa cloud</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Hanapin</translation>
    </message>
</context>
<context>
    <name>songloader::gui::BatchStop</name>
    <message>
        <source>Stop after this song</source>
        <translation>Ihinto pagkatapos nito</translation>
    </message>
    <message>
        <source>Stopping after this song</source>
        <translation>Ihihinto pagkatapos nito</translation>
    </message>
</context>
<context>
    <name>songloader::gui::MainWindow</name>
    <message>
        <source>Number</source>
        <translation>Numero</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Pamagat</translation>
    </message>
    <message>
        <source>Artist</source>
        <translation>Mang-aawit</translation>
    </message>
    <message>
        <source>Composer</source>
        <translation>Kompositor</translation>
    </message>
    <message>
        <source>Lyricist</source>
        <translation>Lirisista</translation>
    </message>
    <message>
        <source>Media File</source>
        <translation>Media file</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Hanapin</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Wika</translation>
    </message>
    <message>
        <source>Search language</source>
        <translation>Wika ng paghahanap</translation>
    </message>
    <message>
        <source>Songs to add</source>
        <translation>Mga kantang idaragdag</translation>
    </message>
    <message>
        <source>Songs on the USB drive</source>
        <translation>Mga kanta sa USB drive</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Takbo</translation>
    </message>
    <message>
        <source>Songs found</source>
        <translation>Mga nakitang kanta</translation>
    </message>
    <message>
        <source>USB drive</source>
        <translation>Kalagayan ng USB drive</translation>
    </message>
    <message>
        <source>Updated after each search or change</source>
        <translation>Nag-a-update pagkatapos ng bawat paghahanap o pagbabago</translation>
    </message>
    <message>
        <source>Find the USB drive by itself and show its songs</source>
        <translation>Kusang hanapin ang USB drive at ipakita ang mga kanta nito</translation>
    </message>
    <message>
        <source>Choose the USB drive (or a folder standing for one) yourself</source>
        <translation>Ikaw mismo ang pumili ng USB drive (o ng folder na kakatawan dito)</translation>
    </message>
    <message>
        <source>Make the USB drive safe to pull out</source>
        <translation>Gawing ligtas hugutin ang USB drive</translation>
    </message>
    <message>
        <source>Fill in the next free song number</source>
        <translation>Ilagay ang susunod na bakanteng numero ng kanta</translation>
    </message>
    <message>
        <source>Pick a media file, or several to queue at once (Ctrl+O)</source>
        <translation>Pumili ng isang media file, o ng ilan para sabay-sabay na ipila (Ctrl+O)</translation>
    </message>
    <message>
        <source>Put the song in the form on the list of songs to add</source>
        <translation>Ilagay ang kanta sa form sa listahan ng mga kantang idaragdag</translation>
    </message>
    <message>
        <source>Empty the form</source>
        <translation>Burahin ang laman ng form</translation>
    </message>
    <message>
        <source>Store the form&apos;s changes in the song loaded, or set the language and artist of the queued songs selected</source>
        <translation>Itago ang mga binago sa form sa kantang nakabukas, o itakda ang wika at mang-aawit ng mga napiling kantang nakapila</translation>
    </message>
    <message>
        <source>Copy the queued songs, or download the ticked cloud songs, onto the USB drive</source>
        <translation>Kopyahin ang mga kantang nakapila, o i-download ang mga tsinekang kanta mula sa cloud, papunta sa USB drive</translation>
    </message>
    <message>
        <source>Download the cloud&apos;s song list and show it</source>
        <translation>I-download ang listahan ng mga kanta sa cloud at ipakita ito</translation>
    </message>
    <message>
        <source>Bring the USB drive&apos;s MIDI pack up to date from the cloud</source>
        <translation>I-update mula sa cloud ang MIDI pack ng USB drive</translation>
    </message>
    <message>
        <source>Tick or untick every cloud song shown</source>
        <translation>Tsekan o alisan ng tsek ang bawat kantang ipinapakita mula sa cloud</translation>
    </message>
    <message>
        <source>See the USB drive&apos;s song list as it would print</source>
        <translation>Tingnan ang listahan ng mga kanta ng USB drive gaya ng pagkaka-print nito</translation>
    </message>
    <message>
        <source>Print the USB drive&apos;s song list</source>
        <translation>I-print ang listahan ng mga kanta ng USB drive</translation>
    </message>
    <message>
        <source>Save the USB drive&apos;s song list as a file</source>
        <translation>I-save bilang file ang listahan ng mga kanta ng USB drive</translation>
    </message>
    <message>
        <source>Find songs by the start of their title or artist (Ctrl+F; Escape clears)</source>
        <translation>Maghanap ng kanta ayon sa simula ng pamagat o mang-aawit (Ctrl+F; binubura ng Escape)</translation>
    </message>
    <message>
        <source>MIN</source>
        <translation>IBABA</translation>
    </message>
    <message>
        <source>HELP</source>
        <translation>TULONG</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Burahin</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Tungkol dito</translation>
    </message>
    <message>
        <source>The help pages were not found beside the program (help/index.html) or in share/songloader/help/.</source>
        <translation>Hindi nakita ang mga pahina ng tulong sa tabi ng programa (help/index.html) o sa share/songloader/help/.</translation>
    </message>
    <message>
        <source>No web browser could be started to show the help.

The help is in %1; open it in a browser.</source>
        <translation>Walang web browser na mabuksan para ipakita ang tulong.

Nasa %1 ang tulong; buksan ito sa isang browser.</translation>
    </message>
    <message>
        <source>Even Loudness</source>
        <translation>Pantay na lakas</translation>
    </message>
    <message>
        <source>Set every song added from now on to the same loudness (-16 LUFS)</source>
        <translation>Gawing pare-pareho ang lakas ng bawat kantang idaragdag mula ngayon (-16 LUFS)</translation>
    </message>
</context>
<context>
    <name>songloader::gui::PrintJob</name>
    <message>
        <source>The song list could not be printed.</source>
        <translation>Hindi ma-print ang listahan ng mga kanta.</translation>
    </message>
</context>
<context>
    <name>songloader::gui::PrintPreviewWindow</name>
    <message>
        <source>Dudir Udade Preview</source>
        <translation>Silip bago i-print</translation>
    </message>
    <message>
        <source>One Page</source>
        <translation>Isang pahina</translation>
    </message>
    <message>
        <source>Two Page</source>
        <translation>Dalawang pahina</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Silip</translation>
    </message>
    <message>
        <source>my(&amp;P)...</source>
        <translation>I-&amp;print...</translation>
    </message>
    <message>
        <source>my PageDown(&amp;N)</source>
        <translation>&amp;Susunod na pahina</translation>
    </message>
    <message>
        <source>PageUp(&amp;V)</source>
        <translation>&amp;Nakaraang pahina</translation>
    </message>
    <message>
        <source>Zoom Out(&amp;I)</source>
        <translation>Paliit&amp;in</translation>
    </message>
    <message>
        <source>Zoom In(&amp;O)</source>
        <translation>&amp;Palakihin</translation>
    </message>
    <message>
        <source>Close(&amp;C)</source>
        <translation>&amp;Isara</translation>
    </message>
</context>
<context>
    <name>songloader::gui::ProgressWindow</name>
    <message>
        <source>Cancel</source>
        <translation>Kanselahin</translation>
    </message>
    <message>
        <source>Song %1 of %2</source>
        <translation>Kanta %1 sa %2</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 sa %2</translation>
    </message>
    <message numerus="yes">
        <source>about %n min left</source>
        <translation>
            <numerusform>mga %n min pa</numerusform>
            <numerusform>mga %n min pa</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>about %n s left</source>
        <translation>
            <numerusform>mga %n s pa</numerusform>
            <numerusform>mga %n s pa</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>songloader::gui::SongListModel</name>
    <message>
        <source>Already on the USB drive</source>
        <translation>Nasa USB drive na</translation>
    </message>
</context>
</TS>
