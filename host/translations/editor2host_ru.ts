<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>Arvel::CloseQuestion</name>
    <message>
        <source>The project cannot be saved: %1</source>
        <translation>Не удаётся сохранить проект: %1</translation>
    </message>
    <message>
        <source>Save project</source>
        <translation>Сохранение проекта</translation>
    </message>
    <message>
        <source>Close project</source>
        <translation>Закрытие проекта</translation>
    </message>
    <message>
        <source>Save changes to the project?</source>
        <translation>Сохранить изменения проекта?</translation>
    </message>
</context>
<context>
    <name>Arvel::CrossView</name>
    <message>
        <source>Phase %1</source>
        <translation>Фаза %1</translation>
    </message>
    <message>
        <source>No phase preview</source>
        <translation>Фаза не показана</translation>
    </message>
</context>
<context>
    <name>Arvel::HostPython</name>
    <message>
        <source>the console filters cannot be evaluated</source>
        <translation>фильтры консоли не удаётся вычислить</translation>
    </message>
</context>
<context>
    <name>Arvel::ProjectStore</name>
    <message>
        <source>it is not a settings file</source>
        <translation>это не файл настроек</translation>
    </message>
    <message>
        <source>it is not in the settings file format</source>
        <translation>он не в формате файла настроек</translation>
    </message>
    <message>
        <source>it cannot be opened</source>
        <translation>его не удаётся открыть</translation>
    </message>
    <message>
        <source>The project file %1 cannot be read: %2.</source>
        <translation>Не удаётся прочитать файл проекта %1: %2.</translation>
    </message>
    <message>
        <source>The file %1 holds no project.</source>
        <translation>В файле %1 нет проекта.</translation>
    </message>
    <message>
        <source>%1 cannot be written: there is no temporary folder for its new content (%2)</source>
        <translation>не удаётся записать %1: нет временной папки для его нового содержимого (%2)</translation>
    </message>
    <message>
        <source>it did not read back as written</source>
        <translation>прочитанное обратно не совпало с записанным</translation>
    </message>
    <message>
        <source>%1 cannot be written: its new content did not come out whole in the temporary folder %2: %3</source>
        <translation>не удаётся записать %1: его новое содержимое не удалось целиком записать во временную папку %2: %3</translation>
    </message>
    <message>
        <source>%1 cannot be written: %2</source>
        <translation>не удаётся записать %1: %2</translation>
    </message>
    <message>
        <source>The project file %1 cannot be read: %2. The host starts with an empty project and leaves the file as it is.</source>
        <translation>Не удаётся прочитать файл проекта %1: %2. Программа начинает работу с пустым проектом, а файл остаётся нетронутым.</translation>
    </message>
    <message>
        <source>The sample project cannot be saved: %1</source>
        <translation>Не удаётся сохранить пример проекта: %1</translation>
    </message>
    <message>
        <source>there is no project</source>
        <translation>проекта нет</translation>
    </message>
    <message>
        <source>the project has no file</source>
        <translation>у проекта нет файла</translation>
    </message>
    <message>
        <source>the unreadable file %1 cannot be moved aside</source>
        <translation>нечитаемый файл %1 не удаётся сохранить под другим именем</translation>
    </message>
    <message>
        <source>%1 changed on disk since the host read or saved it</source>
        <translation>%1 изменился на диске после того, как программа его прочитала или сохранила</translation>
    </message>
</context>
<context>
    <name>ControllerAnswersMenu</name>
    <message>
        <source>Controller &amp;answers</source>
        <translation>&amp;Ответы контроллеров</translation>
    </message>
    <message>
        <source>&amp;Promptly</source>
        <translation>&amp;Сразу</translation>
    </message>
    <message>
        <source>&amp;Slowly (about 2 s)</source>
        <translation>&amp;Медленно (около 2 с)</translation>
    </message>
    <message>
        <source>With s&amp;hort lists</source>
        <translation>С &amp;короткими списками</translation>
    </message>
    <message>
        <source>&amp;Not at all</source>
        <translation>&amp;Не отвечать</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>editor2 %1</source>
        <translation>editor2 %1</translation>
    </message>
    <message>
        <source>editor2 not loaded</source>
        <translation>editor2 не загружен</translation>
    </message>
    <message>
        <source>Phase preview</source>
        <translation>Просмотр фазы</translation>
    </message>
    <message>
        <source>Traffic console</source>
        <translation>Консоль обмена</translation>
    </message>
    <message>
        <source>&amp;Project</source>
        <translation>&amp;Проект</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Сохранить</translation>
    </message>
    <message>
        <source>Project &amp;properties...</source>
        <translation>Сво&amp;йства проекта...</translation>
    </message>
    <message>
        <source>&amp;Map properties...</source>
        <translation>Свойства &amp;карты...</translation>
    </message>
    <message>
        <source>Pre&amp;sets...</source>
        <translation>&amp;Предустановки...</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Выход</translation>
    </message>
    <message>
        <source>&amp;Controllers</source>
        <translation>&amp;Контроллеры</translation>
    </message>
    <message>
        <source>&amp;Add controller</source>
        <translation>&amp;Добавить контроллер</translation>
    </message>
    <message>
        <source>Add a controller: click its place on the map (Escape cancels)</source>
        <translation>Добавить контроллер: щёлкните его место на карте (Escape — отмена)</translation>
    </message>
    <message>
        <source>&amp;Edit controller...</source>
        <translation>&amp;Изменить контроллер...</translation>
    </message>
    <message>
        <source>&amp;Remove controller</source>
        <translation>&amp;Удалить контроллер</translation>
    </message>
    <message>
        <source>&amp;Settings</source>
        <translation>&amp;Настройки</translation>
    </message>
    <message>
        <source>&amp;User settings...</source>
        <translation>&amp;Пользовательские настройки...</translation>
    </message>
    <message>
        <source>&amp;System settings...</source>
        <translation>&amp;Системные настройки...</translation>
    </message>
    <message>
        <source>&amp;Open INI file...</source>
        <translation>&amp;Открыть файл INI...</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Вид</translation>
    </message>
    <message>
        <source>Zoom &amp;in</source>
        <translation>&amp;Приблизить</translation>
    </message>
    <message>
        <source>Zoom &amp;out</source>
        <translation>&amp;Отдалить</translation>
    </message>
    <message>
        <source>Show &amp;all controllers</source>
        <translation>Показать &amp;все контроллеры</translation>
    </message>
    <message>
        <source>&amp;Views</source>
        <translation>Пре&amp;дустановки</translation>
    </message>
    <message>
        <source>Map &amp;sources</source>
        <translation>&amp;Источники карты</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Справка</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;О программе</translation>
    </message>
    <message>
        <source>About the reference host</source>
        <translation>Об эталонном хосте</translation>
    </message>
    <message>
        <source>&lt;p&gt;The reference host of the editor plug-in.&lt;/p&gt;&lt;p&gt;Plug-in version: %1&lt;/p&gt;</source>
        <translation>&lt;p&gt;Эталонный хост модуля редактора.&lt;/p&gt;&lt;p&gt;Версия модуля: %1&lt;/p&gt;</translation>
    </message>
    <message>
        <source>not loaded</source>
        <translation>не загружен</translation>
    </message>
    <message>
        <source>Main</source>
        <translation>Основная</translation>
    </message>
    <message>
        <source>(unnamed)</source>
        <translation>(без имени)</translation>
    </message>
    <message>
        <source>%1, tiles from %2</source>
        <translation>%1, тайлы с %2</translation>
    </message>
    <message>
        <source>%1[*] - editor2 host (editor2 %2)</source>
        <translation>%1[*] — хост editor2 (editor2 %2)</translation>
    </message>
    <message>
        <source>Untitled project</source>
        <translation>Проект без названия</translation>
    </message>
    <message>
        <source>Select a controller on the map first</source>
        <translation>Сначала выберите контроллер на карте</translation>
    </message>
    <message>
        <source>Controller %1 changed</source>
        <translation>Контроллер %1 изменён</translation>
    </message>
    <message>
        <source>Save project</source>
        <translation>Сохранение проекта</translation>
    </message>
    <message>
        <source>%1 changed on disk since the host read or saved it.</source>
        <translation>%1 изменился на диске после того, как программа его прочитала или сохранила.</translation>
    </message>
    <message>
        <source>Overwrite replaces the file&apos;s changes with the project as the host shows it. Reload reads the file again and drops the changes not saved here.</source>
        <translation>«Перезаписать» заменит изменения в файле проектом в том виде, в каком его показывает программа. «Перечитать» заново прочитает файл, а изменения, не сохранённые здесь, пропадут.</translation>
    </message>
    <message>
        <source>&amp;Overwrite</source>
        <translation>Пере&amp;записать</translation>
    </message>
    <message>
        <source>&amp;Reload</source>
        <translation>Пере&amp;читать</translation>
    </message>
    <message>
        <source>The project cannot be saved: %1</source>
        <translation>Не удаётся сохранить проект: %1</translation>
    </message>
    <message>
        <source>Project saved to %1</source>
        <translation>Проект сохранён в %1</translation>
    </message>
    <message>
        <source>%1; the unreadable file was kept as %2</source>
        <translation>%1; нечитаемый файл сохранён как %2</translation>
    </message>
    <message>
        <source>Edit INI file</source>
        <translation>Изменить файл INI</translation>
    </message>
    <message>
        <source>INI files (*.ini *.conf);;All files (*)</source>
        <translation>Файлы INI (*.ini *.conf);;Все файлы (*)</translation>
    </message>
    <message>
        <source>Click the new controller&apos;s place on the map; Escape cancels</source>
        <translation>Щёлкните место нового контроллера на карте; Escape — отмена</translation>
    </message>
    <message>
        <source>Adding a controller cancelled</source>
        <translation>Добавление контроллера отменено</translation>
    </message>
    <message>
        <source>Click the controller&apos;s position on the map; Escape cancels</source>
        <translation>Щёлкните положение контроллера на карте; Escape — отмена</translation>
    </message>
    <message>
        <source>New controller</source>
        <translation>Новый контроллер</translation>
    </message>
    <message>
        <source>Remove controller</source>
        <translation>Удаление контроллера</translation>
    </message>
    <message>
        <source>Remove controller %1 (%2) from the project?</source>
        <translation>Удалить контроллер %1 (%2) из проекта?</translation>
    </message>
    <message>
        <source>Edit project file</source>
        <translation>Правка файла проекта</translation>
    </message>
    <message>
        <source>The project has unsaved changes. Save them before editing the project file?</source>
        <translation>В проекте есть несохранённые изменения. Сохранить их перед правкой файла проекта?</translation>
    </message>
    <message>
        <source>%1 The project stays as it was until it is saved.</source>
        <translation>%1 Проект остаётся прежним, пока его не сохранят.</translation>
    </message>
    <message>
        <source>Project read again from %1</source>
        <translation>Проект заново прочитан из %1</translation>
    </message>
    <message>
        <source>lon;lat %1</source>
        <translation>долг.;шир. %1</translation>
    </message>
    <message>
        <source>The pointer&apos;s place: longitude;latitude, as the object dialog&apos;s Position field takes it</source>
        <translation>Положение указателя: долгота;широта, как их принимает поле «Положение» диалога объекта</translation>
    </message>
</context>
<context>
    <name>MbTilesFile</name>
    <message>
        <source>%1 does not exist</source>
        <translation>%1 не существует</translation>
    </message>
    <message>
        <source>%1 cannot be read</source>
        <translation>%1 не удаётся прочитать</translation>
    </message>
    <message>
        <source>Qt&apos;s SQLite driver is not installed</source>
        <translation>драйвер SQLite для Qt не установлен</translation>
    </message>
    <message>
        <source>%1 cannot be opened: %2</source>
        <translation>%1 не удаётся открыть: %2</translation>
    </message>
    <message>
        <source>%1 cannot be read: %2</source>
        <translation>%1 не удаётся прочитать: %2</translation>
    </message>
    <message>
        <source>%1 is no tile database: it has no tiles table</source>
        <translation>%1 — не база тайлов: в нём нет таблицы tiles</translation>
    </message>
    <message>
        <source>%1 is no tile database: %2</source>
        <translation>%1 — не база тайлов: %2</translation>
    </message>
    <message>
        <source>%1 cannot be read: Qt&apos;s SQLite driver gives no handle to bound its queries</source>
        <translation>%1 не удаётся прочитать: драйвер SQLite для Qt не даёт ограничить его запросы</translation>
    </message>
    <message>
        <source>%1 does not answer a query within %2 s</source>
        <translation>%1 не отвечает на запрос за %2 с</translation>
    </message>
    <message>
        <source>%1 holds a value of more than %2 MB</source>
        <translation>в %1 есть значение больше %2 МБ</translation>
    </message>
</context>
<context>
    <name>OsmView</name>
    <message>
        <source>zoom %1</source>
        <translation>масштаб %1</translation>
    </message>
    <message>
        <source>map: %1</source>
        <translation>карта: %1</translation>
    </message>
    <message>
        <source>map: %1 (%2)</source>
        <translation>карта: %1 (%2)</translation>
    </message>
</context>
<context>
    <name>ScreenshotTour</name>
    <message>
        <source>Cannot create the screenshot folder %1</source>
        <translation>Не удаётся создать папку для снимков %1</translation>
    </message>
    <message>
        <source>Saving screenshots to %1</source>
        <translation>Снимки сохраняются в %1</translation>
    </message>
    <message>
        <source>Screenshots done: %1 of %2 saved</source>
        <translation>Снимки готовы: сохранено %1 из %2</translation>
    </message>
    <message>
        <source>%1: no dialog appeared</source>
        <translation>%1: диалог не появился</translation>
    </message>
    <message>
        <source>%1: the entry point does not return; ending the run</source>
        <translation>%1: точка входа не возвращает управление; прогон завершается</translation>
    </message>
    <message>
        <source>%1: no dialog appeared within %2 s</source>
        <translation>%1: диалог не появился за %2 с</translation>
    </message>
    <message>
        <source>Cannot write %1</source>
        <translation>Не удаётся записать %1</translation>
    </message>
    <message>
        <source>Saved %1 (%2)</source>
        <translation>Сохранён %1 (%2)</translation>
    </message>
</context>
<context>
    <name>TileDownloader</name>
    <message>
        <source>the tile server answers %1 %2</source>
        <translation>сервер тайлов отвечает %1 %2</translation>
    </message>
    <message>
        <source>the tile server does not answer within %1 s</source>
        <translation>сервер тайлов не отвечает за %1 с</translation>
    </message>
    <message>
        <source>the tile server cannot be reached: %1</source>
        <translation>сервер тайлов недоступен: %1</translation>
    </message>
    <message>
        <source>the tile server sends more than %1 MB for a tile</source>
        <translation>сервер тайлов присылает больше %1 МБ на тайл</translation>
    </message>
</context>
<context>
    <name>TileSource</name>
    <message>
        <source>the tile server sends tiles that are no images</source>
        <translation>сервер тайлов присылает тайлы, которые не являются изображениями</translation>
    </message>
    <message>
        <source>the tile server template %1 is invalid: %2</source>
        <translation>шаблон сервера тайлов %1 неверен: %2</translation>
    </message>
    <message>
        <source>%1 holds tiles that are no images</source>
        <translation>в %1 есть тайлы, которые не являются изображениями</translation>
    </message>
    <message>
        <source>the tile server sends images of %1 × %2 pixels, larger than a tile</source>
        <translation>сервер тайлов присылает изображения %1 × %2 пикселей, больше любого тайла</translation>
    </message>
    <message>
        <source>%1 holds images of %2 × %3 pixels, larger than a tile</source>
        <translation>в %1 есть изображения %2 × %3 пикселей, больше любого тайла</translation>
    </message>
    <message>
        <source>Map source %1: %2</source>
        <translation>Источник карты %1: %2</translation>
    </message>
</context>
<context>
    <name>TileTemplate</name>
    <message>
        <source>unknown placeholders %1</source>
        <translation>неизвестные подстановки %1</translation>
    </message>
    <message>
        <source>no %1</source>
        <translation>нет %1</translation>
    </message>
    <message>
        <source>not an http or https address</source>
        <translation>это не адрес http или https</translation>
    </message>
</context>
<context>
    <name>TrafficConsole</name>
    <message>
        <source>Pause</source>
        <translation>Пауза</translation>
    </message>
    <message>
        <source>Stop printing; messages keep being counted</source>
        <translation>Остановить вывод; сообщения по-прежнему считаются</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Очистить</translation>
    </message>
    <message>
        <source>No console filters</source>
        <translation>Фильтров консоли нет</translation>
    </message>
    <message>
        <source>everything</source>
        <translation>всё</translation>
    </message>
    <message>
        <source>Requests:</source>
        <translation>Запросы:</translation>
    </message>
    <message>
        <source>Answers:</source>
        <translation>Ответы:</translation>
    </message>
    <message>
        <source>Notifications:</source>
        <translation>Уведомления:</translation>
    </message>
    <message>
        <source>(no Python: not applied)</source>
        <translation>(нет Python: не применяются)</translation>
    </message>
    <message>
        <source>%1 of %2 shown</source>
        <translation>показано %1 из %2</translation>
    </message>
    <message>
        <source>request</source>
        <translation>запрос</translation>
    </message>
    <message>
        <source>answer</source>
        <translation>ответ</translation>
    </message>
    <message>
        <source>notification</source>
        <translation>уведомление</translation>
    </message>
    <message>
        <source>The %1 filter fails and hides every %1: %2</source>
        <translation>Фильтр вида «%1» не работает и скрывает все сообщения этого вида: %2</translation>
    </message>
    <message>
        <source>error: no answer</source>
        <translation>ошибка: нет ответа</translation>
    </message>
    <message>
        <source>ok</source>
        <translation>успешно</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>editor2-host: --edit-ini needs a file name</source>
        <translation>editor2-host: для --edit-ini нужно имя файла</translation>
    </message>
    <message>
        <source>editor2-host: cannot load the editor plug-in: %1</source>
        <translation>editor2-host: не удаётся загрузить модуль редактора: %1</translation>
    </message>
    <message>
        <source>editor2-host: the settings editor did not open</source>
        <translation>editor2-host: редактор настроек не открылся</translation>
    </message>
    <message>
        <source>it is a folder</source>
        <translation>это папка</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>это не обычный файл</translation>
    </message>
    <message>
        <source>the folder %1 does not exist</source>
        <translation>папка %1 не существует</translation>
    </message>
    <message>
        <source>%1 is not a folder</source>
        <translation>%1 — не папка</translation>
    </message>
    <message>
        <source>editor2-host: cannot edit %1: %2</source>
        <translation>editor2-host: не удаётся редактировать %1: %2</translation>
    </message>
    <message>
        <source>editor2-host: cannot create %1: %2</source>
        <translation>editor2-host: не удаётся создать %1: %2</translation>
    </message>
    <message>
        <source>Reference host of the editor plug-in editor2.</source>
        <translation>Эталонный хост модуля редактора editor2.</translation>
    </message>
    <message>
        <source>Save a PNG of every dialog into &lt;folder&gt; and exit.</source>
        <translation>Сохранить PNG каждого диалога в &lt;folder&gt; и выйти.</translation>
    </message>
    <message>
        <source>Keep the project in &lt;folder&gt; (the sample one on a first start).</source>
        <translation>Хранить проект в &lt;folder&gt; (при первом запуске — пример проекта).</translation>
    </message>
    <message>
        <source>Show the editor&apos;s dialogs in &lt;language&gt; (for example ru).</source>
        <translation>Показывать диалоги редактора на языке &lt;language&gt; (например, ru).</translation>
    </message>
    <message>
        <source>Show only the settings editor on &lt;file&gt;; exit with 0 when it was accepted, 1 when it was cancelled, 2 when it could not be shown.</source>
        <translation>Показать только редактор настроек для &lt;file&gt;; код выхода 0 — изменения приняты, 1 — отменены, 2 — редактор не удалось показать.</translation>
    </message>
    <message>
        <source>editor2-host: --edit-ini needs a display</source>
        <translation>editor2-host: для --edit-ini нужен дисплей</translation>
    </message>
    <message>
        <source>Project</source>
        <translation>Проект</translation>
    </message>
</context>
</TS>
